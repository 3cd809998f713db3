// The save file: the 100 variables as big-endian 32-bit values, 400 bytes.
#pragma once

#include "engine/script.h"

namespace mowa::engine {

// Writes the variable bank to .\data\save.dat. The bytes go to a file beside
// it first and replace the old save only once they are safely on disk, so a
// failure part-way never destroys the previous save.
void save(Script& sc);
// Replaces the variable bank with the save file's contents; a missing or
// short file is reported and changes nothing.
void load(Script& sc);

}  // namespace mowa::engine
