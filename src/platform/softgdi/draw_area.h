// The part of a surface that drawing may touch.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/softgdi/surface.h"

namespace mowa::pf {

struct DrawArea {
  int width = 0;
  int height = 0;

  // Where pixel (x, y) of the area lies in the surface's pixels: rows are
  // the surface's width apart.
  std::size_t index(std::int64_t x, std::int64_t y) const {
    return static_cast<std::size_t>(y * width + x);
  }
};

// The client size, but never more rows than the pixels hold, so no drawing
// call writes past them.
inline DrawArea drawable_area(const Surface& surface) {
  const int width = surface.width();
  if (width == 0) return {};
  const auto rows_held =
      surface.pixels.size() / static_cast<std::size_t>(width);
  return {width, static_cast<int>(std::min<std::size_t>(
                     static_cast<std::size_t>(surface.height()), rows_held))};
}

}  // namespace mowa::pf
