// The variable bank and the reading of statement arguments.
#pragma once

#include <cstdint>
#include <string>

#include "engine/script.h"

namespace mowa::engine {

// A variable reference is three bytes, "@" and two digits; only the digits
// are looked at. A reference whose digits are not decimal names no variable:
// it is reported, reads as 0 and is not written.
std::int32_t variable_get(Script& sc, const char* reference);
void variable_set(Script& sc, const char* reference, std::int32_t value);

// Decimal text as the C library's atol reads it: optional sign, digits up to
// the first other byte, wrapping to 32 bits; no digits read 0.
std::int32_t read_decimal(const char* text, std::size_t length);

// Reads the arguments of one statement from position `at` on, never past
// `end` (the statement's closing double quote, or its end). What is missing
// reads as 0 or as empty text.
class ArgumentReader {
 public:
  ArgumentReader(Script& sc, const char* statement, std::size_t at,
                 std::size_t end)
      : sc_(sc), s_(statement), at_(at), end_(end) {}

  // A number argument: a variable reference, or a decimal number up to the
  // next comma. Moves past it and its comma (four bytes past a reference).
  std::int32_t number();
  // Text up to the next comma, which is passed over. False when the text is
  // longer than `max_bytes` (it is then cut).
  bool text_to_comma(std::string& out, std::size_t max_bytes);
  // Text up to the end of the arguments.
  bool text_to_end(std::string& out, std::size_t max_bytes);
  std::size_t position() const { return at_; }

 private:
  Script& sc_;
  const char* s_;
  std::size_t at_;
  std::size_t end_;
};

}  // namespace mowa::engine
