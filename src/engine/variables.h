// The variable bank, the reading of decimal arguments, and the save file:
// the 100 variables as big-endian 32-bit values, 400 bytes.
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

// Writes the variable bank to .\data\save.dat. The bytes go to a file beside
// it first and replace the old save only once they are safely on disk, so a
// failure part-way never destroys the previous save.
void save(Script& sc);
// Replaces the variable bank with the save file's contents; a missing or
// short file is reported and changes nothing.
void load(Script& sc);

}  // namespace mowa::engine
