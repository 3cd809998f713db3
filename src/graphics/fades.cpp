#include "graphics/fades.h"

#include <algorithm>
#include <cstddef>

#include "graphics/composition.h"
#include "graphics/graphics.h"
#include "graphics/images.h"
#include "report/error_box.h"

namespace mowa::graphics {

namespace {

// The colour table at `level` (when the image is locked) and the same
// colours in the step palette (when there is one).
void write_level(Graphics& g, int level, std::uint8_t* image,
                 pf::Hlocal step_palette) {
  for (int i = 0; i < 256; ++i) {
    const FadeEntry& full = g.fade_palette[i];
    const std::uint8_t blue = fade_level(full.blue, level);
    const std::uint8_t green = fade_level(full.green, level);
    const std::uint8_t red = fade_level(full.red, level);
    if (image != nullptr) {
      std::uint8_t* quad =
          image + kColourTableOffset + static_cast<std::size_t>(i) * 4;
      quad[0] = blue;
      quad[1] = green;
      quad[2] = red;
    }
    if (step_palette != nullptr)
      logical_palette_set(step_palette, i, red, green, blue);
  }
}

// Twenty painted steps from level `first` towards level `last`, then the
// full colours back into the colour table.
void fade(Graphics& g, std::int32_t delay_ms, int first, int last,
          const char* caption) {
  const pf::Hlocal step_palette = logical_palette_alloc(g, caption);
  ImageLock lock(g, g.screen_image, caption);
  std::uint8_t* image = lock.bytes();
  // The platform would take a negative delay as an almost endless wait.
  const auto pause_ms =
      static_cast<pf::Dword>(std::max<std::int32_t>(delay_ms, 0));
  const int direction = last > first ? 1 : -1;
  for (int level = first;; level += direction) {
    g.repaint = 1;
    write_level(g, level, image, step_palette);
    // Without a step palette the window palette stays as it was.
    if (step_palette != nullptr)
      replace_window_palette(g, step_palette, caption);
    request_repaint(g, caption);
    g.clock.Sleep(pause_ms);
    if (level == last) break;
  }
  lock.unlock();
  if (step_palette != nullptr) logical_palette_free(g, step_palette, caption);
  palette_show(g);
}

}  // namespace

void palette_black_out(Graphics& g, std::int32_t delay_ms) {
  fade(g, delay_ms, kTopFadeLevel, 0, "palette_black_out");
}

void palette_black_in(Graphics& g, std::int32_t delay_ms) {
  fade(g, delay_ms, 0, kTopFadeLevel, "palette_black_in");
}

namespace {

constexpr pf::Word kPaletteVersion = 0x300;
constexpr pf::Word kPaletteEntries = 256;

// With LPTR the handle is the block's address. The entries run on past the
// record's one-element array, so they are addressed as bytes.
std::uint8_t* bytes_of(pf::Hlocal palette) {
  return reinterpret_cast<std::uint8_t*>(palette);
}

}  // namespace

pf::Hlocal logical_palette_alloc(Graphics& g, const char* caption) {
  const pf::Hlocal block = g.memory.LocalAlloc(pf::LPTR, kLogPaletteBytes);
  if (block == nullptr) {
    call_failed(g.report, caption, "LocalAlloc");
    return nullptr;
  }
  auto* header = reinterpret_cast<pf::LogPalette*>(bytes_of(block));
  header->palVersion = kPaletteVersion;
  header->palNumEntries = kPaletteEntries;
  return block;
}

void logical_palette_set(pf::Hlocal palette, int index, std::uint8_t red,
                         std::uint8_t green, std::uint8_t blue) {
  std::uint8_t* entry =
      bytes_of(palette) + offsetof(pf::LogPalette, palPalEntry) +
      static_cast<std::size_t>(index) * sizeof(pf::PaletteEntry);
  entry[0] = red;
  entry[1] = green;
  entry[2] = blue;
  entry[3] = 0;
}

void replace_window_palette(Graphics& g, pf::Hlocal palette,
                            const char* caption) {
  if (g.window_palette != nullptr) g.gdi.DeleteObject(g.window_palette);
  g.window_palette = g.gdi.CreatePalette(
      reinterpret_cast<const pf::LogPalette*>(bytes_of(palette)));
  if (g.window_palette == nullptr)
    call_failed(g.report, caption, "CreatePalette");
}

void logical_palette_free(Graphics& g, pf::Hlocal palette,
                          const char* caption) {
  if (g.memory.LocalFree(palette) != nullptr)
    call_failed(g.report, caption, "LocalFree");
}

}  // namespace mowa::graphics
