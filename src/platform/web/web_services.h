// The small services of the browser player: the clock, message boxes drawn
// on the canvas and the display modes.
#pragma once

#include <vector>

#include "platform/common/display_mode_list.h"
#include "platform/common/faults.h"
#include "platform/platform.h"
#include "platform/softgdi/box_picture.h"
#include "platform/softgdi/soft_gdi.h"
#include "platform/web/web_window.h"

namespace mowa::pf {

// Sleeps suspend the program while the page goes on.
class WebClock final : public ClockService {
 public:
  explicit WebClock(WebWindow& window) : window_(window) {}
  void Sleep(Dword delay_ms) override { window_.sleep_ms(delay_ms); }
  std::int64_t time_seconds() override;

 private:
  WebWindow& window_;
};

// A box is drawn over the middle of the canvas by the same renderer as the
// desktop's boxes, and closed by a click on OK, Enter, Space or Escape.
class WebBox final : public BoxService {
 public:
  WebBox(Faults& faults, WebWindow& window)
      : faults_(faults), window_(window) {}
  int MessageBoxA(Hwnd owner, const char* text, const char* caption,
                  Uint type) override;

 private:
  Faults& faults_;
  WebWindow& window_;
  BoxFont font_;
};

// The same modes as the headless display, starting at 1024x768 in 32 bits,
// so that pictures are converted alike; the page itself never changes.
class WebDisplay final : public DisplayService {
 public:
  WebDisplay(Faults& faults, SoftGdi& gdi);
  Bool EnumDisplaySettingsA(const char* device, Dword mode_num,
                            DevModeA* mode) override;
  Long ChangeDisplaySettingsA(DevModeA* mode, Dword flags) override;

 private:
  Faults& faults_;
  SoftGdi& gdi_;
  std::vector<DisplayMode> modes_;
};

}  // namespace mowa::pf
