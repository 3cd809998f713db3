// One reader for every palette BMP file that common tools write, for
// pictures and sprites alike: 1, 4 and 8 bits a pixel, uncompressed or
// run-length coded, the 12-byte core header or info headers of 40 to 124
// bytes, either row order, any colour table up to 256 entries, pixels where
// the file header says they start. It works on the file's bytes alone.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace mowa::bmp {

// Why a file was not decoded; each has its own words in the box.
enum class Refusal {
  none,
  not_bmp,              // no "BM", or an info header of a size no writer uses
  not_palette,          // 16, 24 or 32 bits a pixel
  unknown_compression,  // anything but none, RLE8 on 8 bits or RLE4 on 4 bits
  too_large,            // wider than 640 or taller than 480
  cut_short,            // the file ends before its colours or pixels do
  broken,               // anything else that cannot be a picture
};

inline constexpr int kMaxWidth = 640;
inline constexpr int kMaxHeight = 480;

struct Colour {
  std::uint8_t blue = 0, green = 0, red = 0;
};

struct IndexedPicture {
  int width = 0;
  int height = 0;
  // width * height colour indices, stored row 0 the bottom row as shown.
  std::vector<std::uint8_t> indices;
  // The file's colour table, at most 256 entries.
  std::vector<Colour> colours;

  std::uint8_t at(int column, int stored_row) const {
    return indices[static_cast<std::size_t>(stored_row) * width + column];
  }
};

struct Decoded {
  Refusal refusal = Refusal::none;
  IndexedPicture picture;
};

Decoded decode(std::span<const std::uint8_t> file);

}  // namespace mowa::bmp
