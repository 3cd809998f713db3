#include "bmp_file.h"

#include <stdexcept>

#include "byte_writer.h"

namespace mowa::demo {

std::string bmp_bytes(const IndexedPicture& picture, const Palette& palette) {
  const int w = picture.width();
  const int h = picture.height();
  if (w <= 0 || h <= 0 || w % 4 != 0)
    throw std::invalid_argument(
        "picture width must be a positive multiple of 4");
  constexpr std::uint32_t kHeaderBytes = 14 + 40 + 256 * 4;
  const auto pixel_bytes =
      static_cast<std::uint32_t>(w) * static_cast<std::uint32_t>(h);
  ByteWriter out;
  out.text("BM");
  out.le32(kHeaderBytes + pixel_bytes);
  out.le32(0);
  out.le32(kHeaderBytes);
  out.le32(40);
  out.le32(static_cast<std::uint32_t>(w));
  out.le32(static_cast<std::uint32_t>(h));  // positive: bottom-up rows
  out.le16(1);
  out.le16(8);
  out.le32(0);  // BI_RGB
  out.le32(pixel_bytes);
  out.le32(2835);  // 72 dots per inch
  out.le32(2835);
  out.le32(256);
  out.le32(0);
  for (const Rgb& c : palette) {
    out.byte(c.b);
    out.byte(c.g);
    out.byte(c.r);
    out.byte(0);
  }
  for (int row = h - 1; row >= 0; --row)
    for (int x = 0; x < w; ++x) out.byte(picture.at(x, row));
  return out.bytes();
}

}  // namespace mowa::demo
