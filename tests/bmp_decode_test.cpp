// The BMP reader on files spelt out byte by byte: the run-length escapes no
// common tool writes but the format allows, and the edges of a file.
#include "graphics/bmp_decode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mowa::bmp {
namespace {

// A file with a 40-byte header, `colours` grey entries and `data` as its
// pixels at `pixels_at` (0: straight after the table), which may cut the
// table short.
std::vector<std::uint8_t> file(int width, int height, int bits, int compression,
                               int colours,
                               const std::vector<std::uint8_t>& data,
                               std::uint32_t pixels_at = 0) {
  if (pixels_at == 0) pixels_at = 54 + 4 * static_cast<std::uint32_t>(colours);
  std::vector<std::uint8_t> out = {'B', 'M'};
  const auto put = [&out](std::int64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
      out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  for (const std::int64_t v :
       {0, 0, static_cast<int>(pixels_at), 40, width, height})
    put(v, 4);
  put(1, 2);
  put(bits, 2);
  for (const std::int64_t v : {compression, 0, 0, 0, colours, 0}) put(v, 4);
  for (int i = 0; i < colours; ++i) put(0x010101 * i, 4);
  out.resize(pixels_at, 0);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

std::vector<std::uint8_t> first(std::vector<std::uint8_t> bytes,
                                std::size_t count) {
  bytes.resize(count);
  return bytes;
}

TEST(BmpDecode, SpeltOutFiles) {
  using R = Refusal;
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    Refusal refusal;
    std::vector<std::uint8_t> indices;  // stored rows, bottom first
    std::size_t colours = 0;
  } cases[] = {
      // clang-format off
      {"rle8 jump leaves index 0, end of bitmap ends",
       file(4, 2, 8, 1, 8, {2, 5, 0, 2, 1, 1, 1, 7, 0, 1}), R::none,
       {5, 5, 0, 0, 0, 0, 0, 7}, 8},
      {"rle8 run past the row's end is dropped",
       file(3, 2, 8, 1, 8, {5, 3, 0, 0, 1, 4, 0, 0, 0, 1}), R::none,
       {3, 3, 3, 4, 0, 0}, 8},
      {"rle8 odd literal padded to 16 bits, then a run",
       file(5, 1, 8, 1, 8, {0, 3, 1, 2, 3, 0, 2, 4, 0, 1}), R::none,
       {1, 2, 3, 4, 4}, 8},
      {"rle4 odd literal padded to 16 bits",
       file(5, 1, 4, 2, 16, {0, 5, 0x12, 0x34, 0x50, 0, 0, 0, 0, 1}), R::none,
       {1, 2, 3, 4, 5}, 16},
      {"rle without its end after the last row",
       file(2, 1, 8, 1, 4, {2, 3, 0, 0}), R::none, {3, 3}, 4},
      {"rle cut before the last row",
       file(2, 2, 8, 1, 4, {2, 3, 0, 0}), R::cut_short, {}},
      {"pixels said to start past the end",
       file(2, 1, 8, 0, 4, {}, 5000), R::cut_short, {}},
      {"pixels said to start past a file cut short",
       first(file(2, 1, 8, 0, 4, {}, 5000), 80), R::cut_short, {}},
      {"table cut short by the pixels",
       file(2, 1, 8, 0, 2, {1, 0, 0, 0}, 54 + 4), R::none, {1, 0}, 1},
      {"four bits, rows padded",
       file(3, 2, 4, 0, 16, {0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0}), R::none,
       {1, 2, 3, 4, 5, 6}, 16},
      {"top-down rows",
       file(1, -2, 8, 0, 4, {1, 0, 0, 0, 2, 0, 0, 0}), R::none, {2, 1}, 4},
      {"no width", file(0, 2, 8, 0, 4, {}), R::broken, {}},
      {"two bits", file(4, 1, 2, 0, 4, {0, 0, 0, 0}), R::broken, {}},
      {"bit fields", file(4, 1, 32, 3, 0, {}), R::not_palette, {}},
      {"rle8 on one bit", file(4, 1, 1, 1, 2, {}), R::unknown_compression, {}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Decoded d = decode(c.bytes);
    EXPECT_EQ(d.refusal, c.refusal);
    EXPECT_EQ(d.picture.indices, c.indices);
    if (c.refusal == Refusal::none) {
      EXPECT_EQ(d.picture.colours.size(), c.colours);
    }
  }
}

}  // namespace
}  // namespace mowa::bmp
