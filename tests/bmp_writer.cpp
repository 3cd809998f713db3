#include "bmp_writer.h"

namespace mowa::test {
namespace {

void put16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

}  // namespace

std::string Bmp::file() const {
  const std::uint32_t row_bytes = aligned_rows
                                      ? (static_cast<std::uint32_t>(width) + 3) / 4 * 4
                                      : static_cast<std::uint32_t>(width);
  const auto table_bytes = static_cast<std::uint32_t>(colours.size() * 4);
  const std::uint32_t pixels_at = 14 + info_bytes + table_bytes + gap_bytes;
  const std::uint32_t total = pixels_at +
                              row_bytes * static_cast<std::uint32_t>(height) +
                              trailing_bytes;
  std::string out = "BM";
  put32(out, total);
  put32(out, 0);
  put32(out, pixels_at);
  put32(out, info_bytes);
  put32(out, static_cast<std::uint32_t>(width));
  put32(out, static_cast<std::uint32_t>(top_down ? -height : height));
  put16(out, 1);
  put16(out, bits_per_pixel);
  put32(out, compression);
  put32(out, size_image);
  put32(out, 2835);
  put32(out, 2835);
  put32(out, colours.size() == 256 ? 0 : static_cast<std::uint32_t>(colours.size()));
  put32(out, 0);
  out.resize(14 + info_bytes, '\0');
  for (const Rgb& c : colours) {
    out += static_cast<char>(c.b);
    out += static_cast<char>(c.g);
    out += static_cast<char>(c.r);
    out += '\0';
  }
  out.append(gap_bytes, '\0');
  for (int i = 0; i < height; ++i) {
    const int top_row = top_down ? i : height - 1 - i;
    std::string row(row_bytes, '\0');
    for (int x = 0; x < width; ++x) row[x] = static_cast<char>(at(x, top_row));
    out += row;
  }
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

Bmp block_picture() {
  Bmp b = sprite(640, 480, [](int x, int y) {
    return static_cast<std::uint8_t>(x / 40 + 16 * (y / 30));
  });
  for (int i = 0; i < 256; ++i)
    b.colours[i] = {static_cast<std::uint8_t>(i),
                    static_cast<std::uint8_t>(255 - i),
                    static_cast<std::uint8_t>(i * 7)};
  return b;
}

Bmp other_picture() {
  Bmp b = sprite(640, 480, [](int x, int y) {
    return static_cast<std::uint8_t>(16 * (x / 40) + y / 30);
  });
  for (int i = 0; i < 256; ++i)
    b.colours[i] = {static_cast<std::uint8_t>(i * 3 + 1),
                    static_cast<std::uint8_t>(i),
                    static_cast<std::uint8_t>(200)};
  return b;
}

}  // namespace mowa::test
