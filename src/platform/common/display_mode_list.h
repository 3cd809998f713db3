// A display's modes as a backend lists them, and their enumeration records.
#pragma once

#include <vector>

#include "platform/types.h"

namespace mowa::pf {

struct DisplayMode {
  Dword width, height, bits, hz;
};

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
