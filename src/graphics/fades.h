// Fading the picture to black and back in twenty painted steps, the colour
// each step shows, and the LOGPALETTE blocks the window palette is made
// from, by the loader and by every fade step.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/graphics.h"

namespace mowa::graphics {

void palette_black_out(Graphics& g, std::int32_t delay_ms);
void palette_black_in(Graphics& g, std::int32_t delay_ms);

inline constexpr int kFadeSteps = 20;
inline constexpr int kTopFadeLevel = kFadeSteps - 1;

// The float nearest to 1/19 (bits 0x3D579436), written as a hexadecimal
// literal so that every compiler reads the same bits. Being a shade above
// 1/19, it makes level 19 give every component back unchanged.
inline constexpr float kFadeFactor = 0x1.af286cp-5f;

// A component at level 0 (black) to 19 (full), cut toward zero. The product
// is exact in double precision, so it equals floor(component * level / 19)
// for every whole component from 0 to 255.
constexpr std::uint8_t fade_level(float component, int level) {
  const double shown =
      static_cast<double>(component) * static_cast<double>(kFadeFactor) * level;
  if (!(shown > 0.0)) return 0;
  if (shown >= 255.0) return 255;
  return static_cast<std::uint8_t>(shown);
}

// palVersion, palNumEntries and 256 entries.
inline constexpr std::size_t kLogPaletteBytes = 4 + 256 * 4;

// A zero-filled block with the version and entry count set, or null (after
// the "LocalAlloc" box under `caption`).
pf::Hlocal logical_palette_alloc(Graphics& g, const char* caption);

void logical_palette_set(pf::Hlocal palette, int index, std::uint8_t red,
                         std::uint8_t green, std::uint8_t blue);

// Deletes the window palette, if any, and makes a new one from `palette`.
// After a failed CreatePalette there is no window palette.
void replace_window_palette(Graphics& g, pf::Hlocal palette,
                            const char* caption);

void logical_palette_free(Graphics& g, pf::Hlocal palette, const char* caption);

}  // namespace mowa::graphics
