// Loading BMP pictures into the image buffers, and the colour-table routines.
#pragma once

#include <cstdint>

#include "graphics/graphics.h"

namespace mowa::graphics {

// Reads a 640x480 palette BMP file into the screen image (destination 0) or
// the back image (1) and rebuilds the fade and window palettes; any other
// file is refused with a box that says why.
void opendib(Graphics& g, const char* file, std::int32_t x, std::int32_t y,
             int destination);
// `gload`: mode 0 loads the screen image and shows its colours, 1 loads it
// keeping the colours shown, 2 loads the back image and shows its colours;
// any other mode loads nothing. The paint is asked for in every case.
void gload(Graphics& g, const char* file, std::int32_t x, std::int32_t y,
           std::int32_t mode);
// Clears the screen image's colour table to black.
void palette_black(Graphics& g);
// Writes the fade palette's colours into the screen image's colour table.
void palette_show(Graphics& g);

}  // namespace mowa::graphics
