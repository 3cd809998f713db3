// The part of a surface that drawing may touch.
#pragma once

#include <algorithm>
#include <cstddef>

#include "platform/softgdi/surface.h"

namespace mowa::pf {

struct DrawArea {
  int width = 0;
  int height = 0;
};

// The client size, but never more than the framebuffer holds: a backend that
// reports a larger client must not make a drawing call write past the pixels.
inline DrawArea drawable_area(const Surface& surface) {
  const auto rows_held = static_cast<int>(std::min<std::size_t>(
      surface.pixels.size() / Surface::kMaxWidth, Surface::kMaxHeight));
  return {std::clamp(surface.width, 0, Surface::kMaxWidth),
          std::clamp(surface.height, 0, rows_held)};
}

}  // namespace mowa::pf
