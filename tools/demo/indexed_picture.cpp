#include "indexed_picture.h"

#include <algorithm>
#include <cmath>

namespace mowa::demo {

IndexedPicture::IndexedPicture(int width, int height, std::uint8_t fill)
    : width_(width),
      height_(height),
      pixels_(
          static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
          fill) {}

std::uint8_t IndexedPicture::at(int x, int top_row) const {
  if (x < 0 || x >= width_ || top_row < 0 || top_row >= height_) return 0;
  return pixels_[static_cast<std::size_t>(top_row) *
                     static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)];
}

void IndexedPicture::set(int x, int top_row, std::uint8_t index) {
  if (x < 0 || x >= width_ || top_row < 0 || top_row >= height_) return;
  pixels_[static_cast<std::size_t>(top_row) * static_cast<std::size_t>(width_) +
          static_cast<std::size_t>(x)] = index;
}

void IndexedPicture::fill_rect(int x, int top_row, int w, int h,
                               std::uint8_t index) {
  for (int y = std::max(top_row, 0); y < std::min(top_row + h, height_); ++y)
    for (int c = std::max(x, 0); c < std::min(x + w, width_); ++c)
      set(c, y, index);
}

void IndexedPicture::fill_ellipse(double cx, double cy, double rx, double ry,
                                  std::uint8_t index) {
  if (rx <= 0 || ry <= 0) return;
  const int y0 = static_cast<int>(std::floor(cy - ry));
  const int y1 = static_cast<int>(std::ceil(cy + ry));
  const int x0 = static_cast<int>(std::floor(cx - rx));
  const int x1 = static_cast<int>(std::ceil(cx + rx));
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      // Pixel centres, so that small shapes stay symmetric.
      const double dx = (x + 0.5 - cx) / rx;
      const double dy = (y + 0.5 - cy) / ry;
      if (dx * dx + dy * dy <= 1.0) set(x, y, index);
    }
  }
}

void IndexedPicture::fill_round_rect(int x, int top_row, int w, int h,
                                     int radius, std::uint8_t index) {
  for (int y = top_row; y < top_row + h; ++y) {
    for (int c = x; c < x + w; ++c) {
      const int dx = std::max({x + radius - c, c - (x + w - 1 - radius), 0});
      const int dy =
          std::max({top_row + radius - y, y - (top_row + h - 1 - radius), 0});
      if (dx * dx + dy * dy <= radius * radius) set(c, y, index);
    }
  }
}

void IndexedPicture::stamp(const IndexedPicture& sprite, int x, int top_row) {
  for (int y = 0; y < sprite.height(); ++y)
    for (int c = 0; c < sprite.width(); ++c)
      if (const std::uint8_t v = sprite.at(c, y); v != 0)
        set(x + c, top_row + y, v);
}

std::uint8_t ramp_index(Ramp ramp, double t, int x, int y) {
  static constexpr int kBayer[4][4] = {
      {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  const double position = std::clamp(t, 0.0, 1.0) * (ramp.count - 1);
  const double threshold = (kBayer[y & 3][x & 3] + 0.5) / 16.0;
  int step = static_cast<int>(position);
  if (position - step > threshold) ++step;
  step = std::min(step, ramp.count - 1);
  return static_cast<std::uint8_t>(ramp.first + step);
}

std::uint32_t Lcg::next() {
  state_ = state_ * 1664525u + 1013904223u;
  return state_ >> 8;
}

int Lcg::below(int n) {
  return n <= 0 ? 0 : static_cast<int>(next() % static_cast<std::uint32_t>(n));
}

double Lcg::unit() {
  return static_cast<double>(next() & 0xFFFFFF) / 16777216.0;
}

}  // namespace mowa::demo
