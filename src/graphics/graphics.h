// The graphics state: the two packed-DIB images, the palettes, the repaint
// flag, the picture position and the view rectangle.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace mowa::graphics {

// A packed DIB: header, 256-entry colour table, 640x480 pixels, and a spare
// 100 bytes that nothing addresses.
inline constexpr int kImageWidth = 640;
inline constexpr int kImageHeight = 480;
inline constexpr std::size_t kHeaderBytes = 40;
inline constexpr std::size_t kColourTableOffset = 40;
inline constexpr std::size_t kPixelOffset = 1064;
inline constexpr std::size_t kImageBytes = 308364;

struct FadeEntry {
  float blue = 0, green = 0, red = 0;
};

struct ViewRect {
  std::int32_t width = kImageWidth;
  std::int32_t height = kImageHeight;
  std::int32_t x_offset = 0;
  std::int32_t y_offset = 0;
};

struct Graphics {
  pf::Hglobal screen_image = nullptr;
  pf::Hglobal back_image = nullptr;
  FadeEntry fade_palette[256] = {};
  pf::Hpalette window_palette = nullptr;
  std::uint8_t repaint = 0;
  std::int32_t picture_x = 0;
  std::int32_t picture_y = 0;
  ViewRect view;
};

}  // namespace mowa::graphics
