// Locking the image blocks for the length of one call, with the error boxes
// that a failed lock or unlock shows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/graphics.h"
#include "shell/program.h"

namespace mowa::graphics {

// The block's bytes, or null (after the "GlobalLock" box under `caption`)
// when the lock fails; nothing may be written through a failed lock.
std::uint8_t* lock_image(Program& p, pf::Hglobal block, const char* caption);

// Unlocks once. An unlock that returns 0 only failed when the last error
// says so: 0 with no error is the last lock going away.
void unlock_image(Program& p, pf::Hglobal block, const char* caption);

// The pixel at `column` of stored row `row` (counted from the bottom).
inline std::size_t pixel_offset(std::int64_t column, std::int64_t row) {
  return kPixelOffset + static_cast<std::size_t>(row * kImageWidth + column);
}

inline bool inside_picture(std::int64_t column, std::int64_t row) {
  return column >= 0 && column < kImageWidth && row >= 0 && row < kImageHeight;
}

}  // namespace mowa::graphics
