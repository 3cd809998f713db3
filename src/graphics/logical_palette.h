// The 256-entry LOGPALETTE blocks from which the window palette is made, by
// the loader and by every fade step.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/graphics.h"

namespace mowa::graphics {

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
