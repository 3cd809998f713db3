// A display's modes as a backend lists them, and their enumeration records.
#pragma once

#include <vector>

#include "platform/types.h"

namespace mowa::pf {

struct DisplayMode {
  Dword width, height, bits, hz;
};

// The modes of a display that is not really changed (the headless runner's
// and the page's): 640x480 to 1280x1024 in 8, 16 and 32 bits, at 60 Hz.
inline std::vector<DisplayMode> fixed_display_modes() {
  constexpr Dword kSizes[][2] = {
      {640, 480}, {800, 600}, {1024, 768}, {1280, 1024}};
  std::vector<DisplayMode> modes;
  for (const Dword bits : {8u, 16u, 32u})
    for (const auto& size : kSizes)
      modes.push_back({size[0], size[1], bits, 60});
  return modes;
}

// Fills `record` with mode number `index`, as EnumDisplaySettingsA does;
// kFalse past the last mode.
inline Bool fill_dev_mode(const std::vector<DisplayMode>& modes, Dword index,
                          DevModeA* record) {
  if (!record || index >= modes.size()) return kFalse;
  const DisplayMode& m = modes[index];
  *record = DevModeA{};
  record->dmFields =
      DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
  record->dmBitsPerPel = m.bits;
  record->dmPelsWidth = m.width;
  record->dmPelsHeight = m.height;
  record->dmDisplayFrequency = m.hz;
  return kTrue;
}

}  // namespace mowa::pf
