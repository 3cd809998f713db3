// BMP files written by the tests themselves: 8-bit pictures and sprites in
// the forms that common tools write, and broken ones.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace mowa::test {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};

// 0x00RRGGBB, as the framebuffer holds a colour.
constexpr std::uint32_t packed(Rgb c) {
  return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

struct Bmp {
  int width = 640;
  int height = 480;
  std::vector<std::uint8_t> pixels;  // width * height indices, top row first
  std::vector<Rgb> colours = std::vector<Rgb>(256);  // fewer: biClrUsed says so
  bool top_down = false;
  std::uint32_t info_bytes = 40;  // 124 for a BITMAPV5HEADER
  std::uint16_t bits_per_pixel = 8;
  std::uint32_t compression = 0;
  std::uint32_t size_image = 0;  // biSizeImage as written
  std::uint32_t gap_bytes = 0;   // between the colour table and the pixels
  std::uint32_t trailing_bytes = 0;
  std::uint32_t keep_bytes = 0;  // when not 0, the file ends after these
  // Rows run-length coded as RLE8 (8 bits) or RLE4 (4 bits), as an image
  // editor writes them; the compression field then says so.
  bool run_length = false;
  // A 108- or 124-byte header that says sRGB, or (124 bytes) that points at
  // the trailing bytes as an embedded colour profile.
  bool colour_space = false;
  bool profile_behind = false;

  std::uint8_t at(int x, int top_row) const {
    return pixels[static_cast<std::size_t>(top_row * width + x)];
  }
  // The whole file.
  std::string file() const;
  // Keeps the first `count` colours, or adds black ones up to it. Spelt out:
  // GCC 12 sees a write past the end in vector::resize of a 3-byte type.
  void use_colours(std::size_t count) {
    if (count < colours.size())
      colours.erase(colours.begin() + static_cast<long>(count), colours.end());
    else
      colours.insert(colours.end(), count - colours.size(), Rgb{});
  }
};

// A 640x480 picture of 16 x 16 blocks of 40 x 30 pixels, block (bx, by)
// holding index bx + 16 * by, in 256 colours that all differ.
Bmp block_picture();
// The same blocks in other colours (every entry differs from the first
// picture's) and transposed, for the second picture of a test.
Bmp other_picture();
// A w x h picture whose pixel (x, top row y) is index(x, y).
Bmp sprite(int width, int height,
           const std::function<std::uint8_t(int, int)>& index);

}  // namespace mowa::test
