// The window's client area as a true-colour framebuffer of its own size.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace mowa::pf {

class Surface {
 public:
  // No side is ever longer: a wild size asked of a window must not make an
  // absurd allocation.
  static constexpr int kMaxSide = 8192;

  // A 0x0 surface: a window is created that way until it is placed.
  Surface() = default;
  Surface(int width, int height) { resize(width, height); }

  int width() const { return width_; }
  int height() const { return height_; }
  // Takes the new client size, each side kept within 0..kMaxSide. What is
  // drawn stays at the top-left; an area that is new is black.
  void resize(int width, int height);
  // The pixel at (x, y); black outside the surface.
  std::uint32_t at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const auto i =
        static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
        static_cast<std::size_t>(x);
    return i < pixels.size() ? pixels[i] : 0;
  }

  // width() * height() pixels, 0x00RRGGBB, row 0 at the top, a row of
  // width() pixels after another. Drawing never reaches past the end, even
  // should the vector have been shortened.
  std::vector<std::uint32_t> pixels;
  // Set by every drawing call that touches a pixel; the backend clears it when
  // it presents the picture.
  bool changed = false;

 private:
  int width_ = 0;
  int height_ = 0;
};

inline void Surface::resize(int width, int height) {
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

// 0x00BBGGRR (a COLORREF) to 0x00RRGGBB.
constexpr std::uint32_t rgb_from_colorref(std::uint32_t c) {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

}  // namespace mowa::pf
