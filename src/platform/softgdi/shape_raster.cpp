#include "platform/softgdi/shape_raster.h"

#include <algorithm>
#include <cstddef>

#include "platform/softgdi/draw_area.h"

namespace mowa::pf {

void fill_rect(Surface& surface, std::int64_t left, std::int64_t top,
               std::int64_t right, std::int64_t bottom, std::uint32_t rgb) {
  const DrawArea area = drawable_area(surface);
  const std::int64_t x0 = std::max<std::int64_t>(left, 0);
  const std::int64_t x1 = std::min<std::int64_t>(right, area.width);
  const std::int64_t y0 = std::max<std::int64_t>(top, 0);
  const std::int64_t y1 = std::min<std::int64_t>(bottom, area.height);
  if (x0 >= x1 || y0 >= y1) return;
  for (std::int64_t y = y0; y < y1; ++y) {
    const auto row =
        surface.pixels.begin() + static_cast<std::ptrdiff_t>(area.index(0, y));
    std::fill(row + x0, row + x1, rgb);
  }
  surface.changed = true;
}

void draw_framed_rect(Surface& surface, std::int64_t x1, std::int64_t y1,
                      std::int64_t x2, std::int64_t y2, std::uint32_t pen_rgb,
                      std::uint32_t brush_rgb) {
  const std::int64_t left = std::min(x1, x2);
  const std::int64_t right = std::max(x1, x2);
  const std::int64_t top = std::min(y1, y2);
  const std::int64_t bottom = std::max(y1, y2);
  if (left == right || top == bottom) return;
  fill_rect(surface, left + 1, top + 1, right - 1, bottom - 1, brush_rgb);
  fill_rect(surface, left, top, right, top + 1, pen_rgb);
  fill_rect(surface, left, bottom - 1, right, bottom, pen_rgb);
  fill_rect(surface, left, top, left + 1, bottom, pen_rgb);
  fill_rect(surface, right - 1, top, right, bottom, pen_rgb);
}

void draw_line(Surface& surface, std::int64_t x0, std::int64_t y0,
               std::int64_t x1, std::int64_t y1, std::uint32_t rgb) {
  const DrawArea area = drawable_area(surface);
  const std::int64_t dx = x1 - x0;
  const std::int64_t dy = y1 - y0;
  const auto adx = static_cast<std::uint64_t>(dx < 0 ? -dx : dx);
  const auto ady = static_cast<std::uint64_t>(dy < 0 ? -dy : dy);
  if (adx == 0 && ady == 0) return;

  // The line takes one pixel per step along its major axis; step k lies at
  // major coordinate a0 + k * a_step and minor coordinate b0 + k * (minor
  // length / major length) rounded to the nearest pixel.
  const bool x_major = adx >= ady;
  const std::int64_t a0 = x_major ? x0 : y0;
  const std::int64_t b0 = x_major ? y0 : x0;
  const std::int64_t a_step = (x_major ? dx : dy) < 0 ? -1 : 1;
  const std::int64_t b_step = (x_major ? dy : dx) < 0 ? -1 : 1;
  const std::uint64_t length = x_major ? adx : ady;  // steps; end left out
  const std::uint64_t minor_length = x_major ? ady : adx;
  const std::int64_t a_limit = x_major ? area.width : area.height;
  const std::int64_t b_limit = x_major ? area.height : area.width;

  // Only the steps whose major coordinate lies on the surface are walked, so
  // a line from far outside costs no more than one across the surface.
  const auto last = static_cast<std::int64_t>(length - 1);
  std::int64_t k_first = 0;
  std::int64_t k_last = last;
  if (a_step > 0) {
    k_first = std::max<std::int64_t>(k_first, -a0);
    k_last = std::min<std::int64_t>(k_last, a_limit - 1 - a0);
  } else {
    k_first = std::max<std::int64_t>(k_first, a0 - (a_limit - 1));
    k_last = std::min<std::int64_t>(k_last, a0);
  }

  bool drawn = false;
  for (std::int64_t k = k_first; k <= k_last; ++k) {
    // k < 2^32 and minor_length < 2^32, so the product fits 64 bits.
    const std::uint64_t t = static_cast<std::uint64_t>(k) * minor_length;
    const std::uint64_t whole = t / length;
    const std::uint64_t twice_rest = 2 * (t % length);
    // A tie goes to the smaller coordinate: down when stepping forward, up
    // when stepping backward.
    const std::uint64_t offset =
        whole + (b_step > 0 ? (twice_rest > length ? 1 : 0)
                            : (twice_rest >= length ? 1 : 0));
    const std::int64_t a = a0 + a_step * k;
    const std::int64_t b = b0 + b_step * static_cast<std::int64_t>(offset);
    if (b < 0 || b >= b_limit) continue;
    const std::int64_t x = x_major ? a : b;
    const std::int64_t y = x_major ? b : a;
    surface.pixels[area.index(x, y)] = rgb;
    drawn = true;
  }
  if (drawn) surface.changed = true;
}

}  // namespace mowa::pf
