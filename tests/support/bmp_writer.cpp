#include "bmp_writer.h"

namespace mowa::test {
namespace {

// Little-endian, as every field of the file.
void put(std::string& out, std::uint32_t v, int bytes = 4) {
  for (int i = 0; i < bytes; ++i)
    out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// One row of indices as a BMP file stores it: packed to the bit count,
// padded to 4 bytes.
std::string packed_row(const std::vector<std::uint8_t>& row, int bits) {
  std::string out((row.size() * bits + 7) / 8, '\0');
  for (std::size_t x = 0; x < row.size(); ++x) {
    const std::size_t bit = x * bits;
    out[bit / 8] =
        static_cast<char>(out[bit / 8] | (row[x] << (8 - bits - bit % 8)));
  }
  out.resize((out.size() + 3) / 4 * 4, '\0');
  return out;
}

// Every run of one index (up to 255 long) as a counted pair, as a simple
// editor writes them; RLE4 pairs repeat one nibble. The literal escapes are
// spelt out byte by byte in the decoder's own tests.
std::string coded_row(const std::vector<std::uint8_t>& row, bool nibbles) {
  std::string out;
  for (std::size_t x = 0, n = 1; x < row.size(); x += n, n = 1) {
    while (x + n < row.size() && row[x + n] == row[x] && n < 255) ++n;
    out += static_cast<char>(n);
    out += static_cast<char>(nibbles ? row[x] << 4 | row[x] : row[x]);
  }
  return out + std::string("\0\0", 2);
}

}  // namespace

std::string Bmp::file() const {
  std::string rows;
  for (int i = 0; i < height; ++i) {
    const int top_row = top_down ? i : height - 1 - i;
    const std::vector<std::uint8_t> row(pixels.begin() + top_row * width,
                                        pixels.begin() + (top_row + 1) * width);
    rows +=
        run_length ? coded_row(row, bits_per_pixel == 4)
        : bits_per_pixel <= 8
            ? packed_row(row, bits_per_pixel)
            : std::string(static_cast<std::size_t>(width) * bits_per_pixel / 8,
                          '\0');
  }
  if (run_length) rows += std::string("\0\1", 2);
  const auto table_bytes = static_cast<std::uint32_t>(colours.size() * 4);
  const std::uint32_t pixels_at = 14 + info_bytes + table_bytes + gap_bytes;
  const auto total =
      static_cast<std::uint32_t>(pixels_at + rows.size() + trailing_bytes);
  std::string out = "BM";
  for (const std::uint32_t v :
       {total, 0u, pixels_at, info_bytes, static_cast<std::uint32_t>(width),
        static_cast<std::uint32_t>(top_down ? -height : height)})
    put(out, v);
  put(out, 1, 2);
  put(out, bits_per_pixel, 2);
  for (const std::uint32_t v :
       {run_length ? (bits_per_pixel == 4 ? 2u : 1u) : compression,
        run_length ? static_cast<std::uint32_t>(rows.size()) : size_image,
        2835u, 2835u,
        colours.size() == 256 ? 0u : static_cast<std::uint32_t>(colours.size()),
        0u})
    put(out, v);
  out.resize(14 + info_bytes, '\0');
  // bV5CSType at 56 of the header; the rendering intent at 108; a profile's
  // offset (from the header's start) and size at 112 and 116.
  const auto set = [&out](std::size_t at, std::uint32_t v) {
    std::string field;
    put(field, v);
    out.replace(14 + at, 4, field);
  };
  if (colour_space || profile_behind)
    set(56, profile_behind ? 0x4D424544 : 0x73524742);  // 'MBED', 'sRGB'
  if ((colour_space || profile_behind) && info_bytes >= 124) {
    set(108, 4);
    set(112, profile_behind
                 ? pixels_at - 14 + static_cast<std::uint32_t>(rows.size())
                 : 0);
    set(116, profile_behind ? trailing_bytes : 0);
  }
  for (const Rgb& c : colours)
    out.append({static_cast<char>(c.b), static_cast<char>(c.g),
                static_cast<char>(c.r), '\0'});
  out.append(gap_bytes, '\0');
  out += rows;
  out.append(trailing_bytes, '\0');
  if (keep_bytes != 0 && keep_bytes < out.size()) out.resize(keep_bytes);
  return out;
}

Bmp sprite(int width, int height,
           const std::function<std::uint8_t(int, int)>& index) {
  Bmp b;
  b.width = width;
  b.height = height;
  b.pixels.resize(static_cast<std::size_t>(width * height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.pixels[y * width + x] = index(x, y);
  return b;
}

namespace {

// 16 x 16 blocks of 40 x 30 pixels; the other picture's transposed, in other
// colours.
Bmp blocks(bool other) {
  Bmp b = sprite(640, 480, [other](int x, int y) {
    const int bx = x / 40, by = y / 30;
    return static_cast<std::uint8_t>(other ? 16 * bx + by : bx + 16 * by);
  });
  for (int i = 0; i < 256; ++i) {
    const auto byte = [](int v) { return static_cast<std::uint8_t>(v); };
    b.colours[i] = other ? Rgb{byte(i * 3 + 1), byte(i), 200}
                         : Rgb{byte(i), byte(255 - i), byte(i * 7)};
  }
  return b;
}

}  // namespace

Bmp block_picture() { return blocks(false); }
Bmp other_picture() { return blocks(true); }

}  // namespace mowa::test
