// The paint's blit of the full 640x480 picture, against a plain per-pixel
// loop that does what a straightforward blit would do: for each pixel, clip,
// read the index, read the colour-table entry and compose the colour.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/common/faults.h"
#include "platform/softgdi/soft_gdi.h"

namespace mowa::pf {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// A packed DIB as the program keeps its screen image: header, 256 colours,
// bottom-up rows.
struct Picture {
  std::vector<std::uint8_t> info;
  std::vector<std::uint8_t> bits;

  Picture()
      : info(sizeof(BitmapInfoHeader) + 256 * sizeof(RgbQuad)),
        bits(static_cast<std::size_t>(kWidth) * kHeight) {
    BitmapInfoHeader h{};
    h.biSize = sizeof h;
    h.biWidth = kWidth;
    h.biHeight = kHeight;
    h.biPlanes = 1;
    h.biBitCount = 8;
    h.biCompression = BI_RGB;
    std::memcpy(info.data(), &h, sizeof h);
    for (int i = 0; i < 256; ++i) {
      const RgbQuad q{static_cast<std::uint8_t>(i),
                      static_cast<std::uint8_t>(255 - i),
                      static_cast<std::uint8_t>(i * 3), 0};
      std::memcpy(info.data() + sizeof h + i * sizeof q, &q, sizeof q);
    }
    std::uint32_t seed = 12345;
    for (auto& b : bits) {
      seed = seed * 1103515245u + 12345u;
      b = static_cast<std::uint8_t>(seed >> 16);
    }
  }
};

Surface full_surface() { return Surface(kWidth, kHeight); }

void BM_StretchDIBitsOneToOne(benchmark::State& state) {
  const Picture picture;
  Surface surface = full_surface();
  Faults faults;
  SoftGdi gdi(faults);
  const Hdc dc = gdi.open_dc(&surface);
  for (auto _ : state) {
    benchmark::DoNotOptimize(gdi.StretchDIBits(
        dc, 0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, picture.bits.data(),
        picture.info.data(), DIB_RGB_COLORS, SRCCOPY));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_StretchDIBitsOneToOne);

// The deepest frame of the zoom: 280x210 stretched over the window.
void BM_StretchDIBitsZoom(benchmark::State& state) {
  const Picture picture;
  Surface surface = full_surface();
  Faults faults;
  SoftGdi gdi(faults);
  const Hdc dc = gdi.open_dc(&surface);
  for (auto _ : state) {
    benchmark::DoNotOptimize(gdi.StretchDIBits(
        dc, 0, 0, kWidth, kHeight, 0, 270, 280, 210, picture.bits.data(),
        picture.info.data(), DIB_RGB_COLORS, SRCCOPY));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_StretchDIBitsZoom);

// The reference: one pixel at a time, clip tests and colour composition
// inside the loop.
void naive_blit(Surface& surface, const Picture& picture, int x_dest,
                int y_dest) {
  BitmapInfoHeader h;
  std::memcpy(&h, picture.info.data(), sizeof h);
  const std::uint8_t* table = picture.info.data() + h.biSize;
  const int stride = (h.biWidth * 8 + 31) / 32 * 4;
  for (int y = 0; y < h.biHeight; ++y) {
    for (int x = 0; x < h.biWidth; ++x) {
      const int dx = x_dest + x;
      const int dy = y_dest + y;
      if (dx < 0 || dy < 0 || dx >= surface.width() || dy >= surface.height())
        continue;
      const int stored_row = h.biHeight - 1 - y;
      const std::uint8_t index = picture.bits[stored_row * stride + x];
      if (h.biClrUsed != 0 && index >= h.biClrUsed) continue;
      RgbQuad q;
      std::memcpy(&q, table + index * sizeof q, sizeof q);
      surface.pixels[dy * surface.width() + dx] =
          (std::uint32_t{q.rgbRed} << 16) | (std::uint32_t{q.rgbGreen} << 8) |
          q.rgbBlue;
    }
  }
  surface.changed = true;
}

void BM_NaivePerPixelLoop(benchmark::State& state) {
  const Picture picture;
  Surface surface = full_surface();
  for (auto _ : state) {
    naive_blit(surface, picture, 0, 0);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_NaivePerPixelLoop);

}  // namespace
}  // namespace mowa::pf
