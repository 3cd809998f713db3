// Real time: sleeps that keep the window shown and queue the input that comes
// meanwhile, and the calendar time.
#pragma once

#include "platform/platform.h"
#include "platform/sdl/sdl_window.h"

namespace mowa::pf {

class SdlClock final : public ClockService {
 public:
  explicit SdlClock(SdlWindow& window) : window_(window) {}
  void Sleep(Dword delay_ms) override { window_.sleep_ms(delay_ms); }
  std::int64_t time_seconds() override;

 private:
  SdlWindow& window_;
};

}  // namespace mowa::pf
