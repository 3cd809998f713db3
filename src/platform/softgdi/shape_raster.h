// Solid rectangles and one-pixel lines on a surface, with GDI's pixel rules.
// Coordinates are 64-bit so that no sum of two 32-bit call arguments can
// overflow; everything is clipped to the surface's drawable area.
#pragma once

#include <cstdint>

#include "platform/softgdi/surface.h"

namespace mowa::pf {

// Fills left <= x < right, top <= y < bottom (nothing when either side is
// empty).
void fill_rect(Surface& surface, std::int64_t left, std::int64_t top,
               std::int64_t right, std::int64_t bottom, std::uint32_t rgb);

// The area left <= x < right, top <= y < bottom with its outermost pixels in
// `pen_rgb` and the rest in `brush_rgb`; the corners may come in either
// order.
void draw_framed_rect(Surface& surface, std::int64_t x1, std::int64_t y1,
                      std::int64_t x2, std::int64_t y2, std::uint32_t pen_rgb,
                      std::uint32_t brush_rgb);

// A one-pixel line from (x0, y0) towards (x1, y1) that leaves out its end
// point. Where the ideal line passes exactly between two pixels the one with
// the smaller coordinate is lit, whichever way the line runs.
void draw_line(Surface& surface, std::int64_t x0, std::int64_t y0,
               std::int64_t x1, std::int64_t y1, std::uint32_t rgb);

}  // namespace mowa::pf
