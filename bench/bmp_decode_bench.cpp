// Decoding 640x480 pictures of the forms the BMP reader takes (the standard
// file does not come here: it is read straight into its image).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "graphics/bmp_decode.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

void put(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// Blocks of 40x30 pixels: the flat areas that run-length coding is for.
std::uint8_t index_at(int x, int y, int bits) {
  return static_cast<std::uint8_t>((x / 40 + 16 * (y / 30)) &
                                   ((1 << bits) - 1));
}

std::vector<std::uint8_t> picture(int bits, bool run_length) {
  const int colours = 1 << bits;
  std::vector<std::uint8_t> rows;
  for (int y = kHeight - 1; y >= 0; --y) {
    if (run_length) {
      for (int x = 0; x < kWidth; x += 40) {
        rows.push_back(40);
        rows.push_back(index_at(x, y, bits));
      }
      rows.push_back(0);
      rows.push_back(0);
      continue;
    }
    std::vector<std::uint8_t> row((kWidth * bits + 31) / 32 * 4, 0);
    for (int x = 0; x < kWidth; ++x)
      row[x * bits / 8] |= static_cast<std::uint8_t>(
          index_at(x, y, bits) << (8 - bits - x * bits % 8));
    rows.insert(rows.end(), row.begin(), row.end());
  }
  std::vector<std::uint8_t> out = {'B', 'M'};
  put(out, 0, 8);
  put(out, 54 + 4 * colours, 4);
  for (const auto& [value, bytes] : std::vector<std::pair<std::uint32_t, int>>{
           {40, 4},
           {kWidth, 4},
           {kHeight, 4},
           {1, 2},
           {static_cast<std::uint32_t>(bits), 2},
           {run_length ? 1u : 0u, 4},
           {0, 4},
           {0, 4},
           {0, 4},
           {0, 4},
           {0, 4}})
    put(out, value, bytes);
  for (int i = 0; i < colours; ++i)
    put(out, 0x010203u * static_cast<std::uint32_t>(i), 4);
  out.insert(out.end(), rows.begin(), rows.end());
  return out;
}

void decode_bench(benchmark::State& state, int bits, bool run_length) {
  const std::vector<std::uint8_t> file = picture(bits, run_length);
  for (auto _ : state) {
    mowa::bmp::Decoded d = mowa::bmp::decode(file);
    benchmark::DoNotOptimize(d.picture.indices.data());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_DecodeEightBits(benchmark::State& s) { decode_bench(s, 8, false); }
void BM_DecodeRle8(benchmark::State& s) { decode_bench(s, 8, true); }
void BM_DecodeFourBits(benchmark::State& s) { decode_bench(s, 4, false); }
void BM_DecodeOneBit(benchmark::State& s) { decode_bench(s, 1, false); }
BENCHMARK(BM_DecodeEightBits);
BENCHMARK(BM_DecodeRle8);
BENCHMARK(BM_DecodeFourBits);
BENCHMARK(BM_DecodeOneBit);

}  // namespace
