// Loading BMP pictures into the image buffers, and the colour-table routines.
#pragma once

#include <cstdint>

#include "graphics/graphics.h"

namespace mowa::graphics {

// Reads an uncompressed 8-bit BMP file into the screen image (destination 0)
// or the back image (1) and rebuilds the fade and window palettes.
void opendib(Graphics& g, const char* file, std::int32_t x, std::int32_t y,
             int destination);
// Clears the screen image's colour table to black.
void palette_black(Graphics& g);
// Writes the fade palette's colours into the screen image's colour table.
void palette_show(Graphics& g);

}  // namespace mowa::graphics
