// One step of the scenario: read one statement and carry it out; and the
// trace line it leaves.
#pragma once

#include <cstdint>
#include <string>

#include "engine/commands.h"
#include "engine/script.h"

namespace mowa::engine {

// Returns 1 when the run ends (after `end`, at the end of the file, when the
// scenario file cannot be opened, or after a jump to a missing label), else 0.
int script_read(Script& sc, CommandSink& sink);

// The next value of the `rand` generator, 0 to 32767.
std::int32_t next_random(Script& s);
void seed_random(Script& s, std::uint32_t seed);

// One statement's line, in code page 932: "LINE: statement", then " → LINE"
// for the jump it took and "  @NN old → new" for every variable it changed.
// LINE counts lines as the script pointer does.
class StatementTrace {
 public:
  // Before the statement runs: its line, the line as read, the variables.
  StatementTrace(std::int32_t line, const char* text_as_read,
                 const std::int32_t (&variables)[kVariableCount]);
  // After it ran: `result` is what the step returns.
  std::string finish(CommandId id, int result, std::int32_t pointer,
                     const std::int32_t (&variables)[kVariableCount]) const;

 private:
  std::int32_t line_;
  std::string text_;
  std::int32_t before_[kVariableCount];
};

}  // namespace mowa::engine
