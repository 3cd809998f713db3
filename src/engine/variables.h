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
// The index a reference names, or -1 when its two bytes are not digits.
int variable_index_of(const char* reference);
void variable_set(Script& sc, const char* reference, std::int32_t value);

// Decimal text as the C library's atol reads it: optional sign, digits up to
// the first other byte, wrapping to 32 bits; no digits read 0.
std::int32_t read_decimal(const char* text, std::size_t length);

}  // namespace mowa::engine
