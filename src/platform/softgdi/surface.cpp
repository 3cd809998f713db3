#include "platform/softgdi/surface.h"

#include <algorithm>
#include <utility>

namespace mowa::pf {

void Surface::resize(int width, int height) {
  width = std::clamp(width, 0, kMaxSide);
  height = std::clamp(height, 0, kMaxSide);
  if (width == width_ && height == height_) return;
  std::vector<std::uint32_t> resized(
      static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  const int kept_width = std::min(width, width_);
  const int kept_height = std::min(height, height_);
  for (int y = 0; y < kept_height; ++y)
    for (int x = 0; x < kept_width; ++x)
      resized[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
              static_cast<std::size_t>(x)] = at(x, y);
  pixels = std::move(resized);
  width_ = width;
  height_ = height;
}

}  // namespace mowa::pf
