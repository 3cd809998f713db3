// Uncompressed 8-bit BMP files: a 40-byte info header, all 256 colours and
// the rows bottom-up, as the program loads pictures and sprites.
#pragma once

#include <string>

#include "demo_palette.h"
#include "indexed_picture.h"

namespace mowa::demo {

// The whole file. The width must be a multiple of 4, so that rows need no
// padding and every reader of sprites takes them alike.
std::string bmp_bytes(const IndexedPicture& picture, const Palette& palette);

}  // namespace mowa::demo
