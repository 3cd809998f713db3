// What a writer types at the debugger, read the way the scenario reads it:
// a variable (@05), a number, one operation of `@` arithmetic (@05*3), a
// comparison of `if` (@05>3, @05=@06), and log texts with {@05} in them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace mowa::debug {

struct Value {
  std::optional<std::int32_t> value;
  std::string error;  // why there is no value
};

// The index 0-99 of "@NN"; nullopt for anything else.
std::optional<int> variable_index(const std::string& text);

// `@05`, `-12`, or one operation: as `@NN=E` would store it. Blanks are
// removed first, as the interpreter removes them.
Value evaluate(const std::string& expression,
               const std::int32_t (&variables)[100]);

// A condition written as in `if`: @NN, then =, < or >, then @NN or a number.
// Holds: 1 or 0; no value: the condition cannot be read.
Value compare(const std::string& condition,
              const std::int32_t (&variables)[100]);

// A log text with every {expression} replaced by its value.
std::string interpolate(const std::string& text,
                        const std::int32_t (&variables)[100]);

}  // namespace mowa::debug
