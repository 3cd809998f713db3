// The picture's way to the window in the running program: showdib of the
// full 640x480 screen image through the normal view rectangle, and one fade
// step including its paint, beside plain per-pixel loops that do the same
// work one pixel at a time.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>

#include "graphics/composition.h"
#include "graphics/fades.h"
#include "graphics/images.h"
#include "platform/headless/headless_platform.h"
#include "shell/program.h"

namespace {

using mowa::graphics::kColourTableOffset;
using mowa::graphics::kImageHeight;
using mowa::graphics::kImageWidth;
using mowa::graphics::kPixelOffset;
namespace pf = mowa::pf;

// The program with its window and a picture in its screen image, without a
// scenario: what start-up and a load leave behind.
class PictureWindow {
 public:
  PictureWindow() : program(hp.platform()) {
    const pf::WndClassA wc{pf::CS_DBLCLKS, mowa::shell::window_proc, &program,
                           "MowaMowa"};
    hp.window.RegisterClassA(&wc);
    window = hp.window.CreateWindowExA(0, "MowaMowa", "MowaMowa", pf::WS_POPUP,
                                       0, 0, 0, 0, nullptr);
    hp.window.SetWindowPos(window, pf::HWND_TOPMOST, 0, 0, kImageWidth,
                           kImageHeight, pf::SWP_SHOWWINDOW);
    program.shell.main_window = window;
    for (pf::Hglobal* image :
         {&program.gfx.screen_image, &program.gfx.back_image})
      *image = hp.memory.GlobalAlloc(pf::GMEM_MOVEABLE | pf::GMEM_ZEROINIT,
                                     mowa::graphics::kImageBytes);
    fill_screen_image();
  }
  ~PictureWindow() {
    if (program.gfx.window_palette)
      hp.gdi.DeleteObject(program.gfx.window_palette);
    hp.memory.GlobalFree(program.gfx.screen_image);
    hp.memory.GlobalFree(program.gfx.back_image);
  }

  std::uint8_t* lock() {
    return static_cast<std::uint8_t*>(
        hp.memory.GlobalLock(program.gfx.screen_image));
  }
  void unlock() { hp.memory.GlobalUnlock(program.gfx.screen_image); }

  pf::HeadlessPlatform hp{stdout};
  mowa::Program program;
  pf::Hwnd window = nullptr;

 private:
  void fill_screen_image() {
    std::uint8_t* block = lock();
    pf::BitmapInfoHeader h{};
    h.biSize = sizeof h;
    h.biWidth = kImageWidth;
    h.biHeight = kImageHeight;
    h.biPlanes = 1;
    h.biBitCount = 8;
    h.biSizeImage = kImageWidth * kImageHeight;
    std::memcpy(block, &h, sizeof h);
    for (int i = 0; i < 256; ++i) {
      std::uint8_t* quad = block + kColourTableOffset + 4 * i;
      quad[0] = static_cast<std::uint8_t>(i);
      quad[1] = static_cast<std::uint8_t>(255 - i);
      quad[2] = static_cast<std::uint8_t>(i * 3);
      program.gfx.fade_palette[i] = {float(quad[0]), float(quad[1]),
                                     float(quad[2])};
    }
    std::uint32_t seed = 12345;
    for (int i = 0; i < kImageWidth * kImageHeight; ++i) {
      seed = seed * 1103515245u + 12345u;
      block[kPixelOffset + i] = static_cast<std::uint8_t>(seed >> 16);
    }
    unlock();
  }
};

void BM_ShowdibFullPicture(benchmark::State& state) {
  PictureWindow w;
  const pf::Hdc dc = w.hp.window.GetDC(w.window);
  for (auto _ : state) {
    mowa::graphics::showdib(w.program.gfx, dc, w.program.gfx.screen_image);
    benchmark::ClobberMemory();
  }
  w.hp.window.ReleaseDC(w.window, dc);
  state.SetBytesProcessed(state.iterations() * kImageWidth * kImageHeight);
}
BENCHMARK(BM_ShowdibFullPicture);

// A whole fade is twenty steps, each with its paint; the counter gives the
// time of one step.
void BM_FadeStepWithPaint(benchmark::State& state) {
  PictureWindow w;
  for (auto _ : state) {
    mowa::graphics::palette_black_in(w.program.gfx, 0);
    benchmark::ClobberMemory();
  }
  state.counters["step"] =
      benchmark::Counter(20, benchmark::Counter::kIsIterationInvariantRate |
                                 benchmark::Counter::kInvert);
}
BENCHMARK(BM_FadeStepWithPaint);

// The reference: the screen image drawn one pixel at a time, with the clip
// test and the colour composed inside the loop.
void reference_blit(pf::Surface& surface, const std::uint8_t* block) {
  const std::uint8_t* table = block + kColourTableOffset;
  for (int y = 0; y < kImageHeight; ++y)
    for (int x = 0; x < kImageWidth; ++x) {
      if (x >= surface.width() || y >= surface.height()) continue;
      const std::uint8_t index =
          block[kPixelOffset + (kImageHeight - 1 - y) * kImageWidth + x];
      const std::uint8_t* quad = table + 4 * index;
      surface.pixels[y * surface.width() + x] = (std::uint32_t{quad[2]} << 16) |
                                                (std::uint32_t{quad[1]} << 8) |
                                                quad[0];
    }
}

void BM_ReferencePerPixelBlit(benchmark::State& state) {
  PictureWindow w;
  pf::Surface& surface = *w.hp.window.surface(w.window);
  const std::uint8_t* block = w.lock();
  for (auto _ : state) {
    reference_blit(surface, block);
    benchmark::ClobberMemory();
  }
  w.unlock();
  state.SetBytesProcessed(state.iterations() * kImageWidth * kImageHeight);
}
BENCHMARK(BM_ReferencePerPixelBlit);

// The reference fade step: the 256 colours at one level, then the picture
// drawn one pixel at a time.
void BM_ReferenceFadeStep(benchmark::State& state) {
  PictureWindow w;
  pf::Surface& surface = *w.hp.window.surface(w.window);
  std::uint8_t* block = w.lock();
  int level = 0;
  for (auto _ : state) {
    for (int i = 0; i < 256; ++i) {
      const mowa::graphics::FadeEntry& c = w.program.gfx.fade_palette[i];
      std::uint8_t* quad = block + kColourTableOffset + 4 * i;
      quad[0] = static_cast<std::uint8_t>(int(c.blue) * level / 19);
      quad[1] = static_cast<std::uint8_t>(int(c.green) * level / 19);
      quad[2] = static_cast<std::uint8_t>(int(c.red) * level / 19);
    }
    reference_blit(surface, block);
    level = (level + 1) % 20;
    benchmark::ClobberMemory();
  }
  w.unlock();
}
BENCHMARK(BM_ReferenceFadeStep);

}  // namespace
