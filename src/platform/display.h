// Display-mode services.
#pragma once

#include "platform/types.h"

namespace mowa::pf {

class DisplayService {
 public:
  virtual ~DisplayService() = default;
  // Fills `mode` with display mode number `mode_num` of the device (null:
  // the primary display). kFalse past the last mode.
  virtual Bool EnumDisplaySettingsA(const char* device, Dword mode_num,
                                    DevModeA* mode) = 0;
  // A change with flags 0 lasts until the next change.
  virtual Long ChangeDisplaySettingsA(DevModeA* mode, Dword flags) = 0;
};

}  // namespace mowa::pf
