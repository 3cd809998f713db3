// PNG files of the framebuffer, for recorded frames and for comparing
// pictures in tests and tools.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/softgdi/surface.h"

namespace mowa::pf {

// Writes the surface at its own size as 8-bit RGB without alpha. False when
// the file cannot be written or the surface has no pixels (a PNG has at least
// one).
bool write_png(const std::string& path, const Surface& surface);

// Reads a PNG into 0x00RRGGBB pixels, rows top first; any alpha is dropped.
// False (the outputs untouched) when the file is missing or not a PNG.
bool read_png(const std::string& path, std::vector<std::uint32_t>& pixels_rgb,
              int& width, int& height);

}  // namespace mowa::pf
