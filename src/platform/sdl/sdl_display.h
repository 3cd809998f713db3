// Display modes of the SDL backend. The monitor is never reprogrammed: the
// program's 640x480 mode is shown as its window full screen, the picture
// scaled with its aspect kept, and any other mode leaves full screen.
#pragma once

#include <vector>

#include "platform/common/display_mode_list.h"
#include "platform/common/faults.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_window.h"
#include "platform/softgdi/soft_gdi.h"

namespace mowa::pf {

class SdlDisplay final : public DisplayService {
 public:
  using Mode = DisplayMode;

  // Reads the modes of the first display and tells `gdi` the current one.
  SdlDisplay(Faults& faults, SoftGdi& gdi, SdlWindow& window);
  Bool EnumDisplaySettingsA(const char* device, Dword mode_num,
                            DevModeA* mode) override;
  Long ChangeDisplaySettingsA(DevModeA* mode, Dword flags) override;

  // The display's modes as offered: the display's own, then the desktop mode
  // and a 640x480 mode of the desktop's depth when the display lists none,
  // because neither is ever set on the monitor and both can always be shown.
  static std::vector<Mode> offered_modes(std::vector<Mode> listed,
                                         const Mode& desktop);

 private:
  Faults& faults_;
  SoftGdi& gdi_;
  SdlWindow& window_;
  Mode desktop_{640, 480, 32, 60};
  // Read once: the index saved at start-up must name the same mode at exit.
  std::vector<Mode> modes_;
};

}  // namespace mowa::pf
