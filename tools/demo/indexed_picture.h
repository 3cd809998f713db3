// An 8-bit picture being drawn: one palette index a pixel, rows from the top
// as a person looks at it. The BMP writer turns it bottom-up.
#pragma once

#include <cstdint>
#include <vector>

namespace mowa::demo {

class IndexedPicture {
 public:
  IndexedPicture(int width, int height, std::uint8_t fill = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  std::uint8_t at(int x, int top_row) const;
  // Pixels outside the picture are left alone, so shapes may overhang.
  void set(int x, int top_row, std::uint8_t index);
  void fill_rect(int x, int top_row, int w, int h, std::uint8_t index);
  void fill_ellipse(double cx, double cy, double rx, double ry,
                    std::uint8_t index);
  // A rectangle with corners rounded to `radius`.
  void fill_round_rect(int x, int top_row, int w, int h, int radius,
                       std::uint8_t index);
  // Copies every pixel of `sprite` but index 0 with its top-left at (x, y).
  void stamp(const IndexedPicture& sprite, int x, int top_row);

  const std::vector<std::uint8_t>& pixels() const { return pixels_; }

 private:
  int width_;
  int height_;
  std::vector<std::uint8_t> pixels_;
};

// A run of palette entries that blend from one colour to another.
struct Ramp {
  int first;
  int count;
};

// Entry `step` of `ramp`, counted from its first.
constexpr std::uint8_t shade(Ramp ramp, int step) {
  return static_cast<std::uint8_t>(ramp.first + step);
}

// The entry of `ramp` for the shade t (0 to 1) at pixel (x, y), ordered
// dithering between neighbouring entries so that gradients show no bands.
std::uint8_t ramp_index(Ramp ramp, double t, int x, int y);

// A small deterministic generator, so that every build draws the same stars.
class Lcg {
 public:
  explicit Lcg(std::uint32_t seed) : state_(seed) {}
  std::uint32_t next();
  // A whole number from 0 to n - 1.
  int below(int n);
  // A number from 0 up to 1.
  double unit();

 private:
  std::uint32_t state_;
};

}  // namespace mowa::demo
