// The window's client area as a true-colour framebuffer.
#pragma once

#include <cstdint>
#include <vector>

namespace mowa::pf {

struct Surface {
  static constexpr int kMaxWidth = 640;
  static constexpr int kMaxHeight = 480;

  // The current client size; drawing is clipped to it. The window is created
  // 0x0 and placed at 640x480.
  int width = 0;
  int height = 0;
  // kMaxWidth * kMaxHeight pixels, 0x00RRGGBB, row 0 at the top.
  std::vector<std::uint32_t> pixels =
      std::vector<std::uint32_t>(kMaxWidth * kMaxHeight, 0);
  // Set by every drawing call that touches a pixel; the backend clears it when
  // it presents the picture.
  bool changed = false;

  std::uint32_t at(int x, int y) const { return pixels[y * kMaxWidth + x]; }
};

// 0x00BBGGRR (a COLORREF) to 0x00RRGGBB.
constexpr std::uint32_t rgb_from_colorref(std::uint32_t c) {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

}  // namespace mowa::pf
