// The SDL backend as one object: real windows, time, input and sound over
// the software GDI that the headless backend draws with too, so that a
// scenario gives the same pixels in both.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>

#include "platform/common/faults.h"
#include "platform/common/heap_memory.h"
#include "platform/common/host_files.h"
#include "platform/platform.h"
#include "platform/sdl/outside_requests.h"
#include "platform/sdl/sdl_box.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_session.h"
#include "platform/sdl/sdl_sound.h"
#include "platform/sdl/sdl_window.h"
#include "platform/softgdi/soft_gdi.h"

namespace mowa::pf {

// Real time: sleeps that keep the window shown and queue the input that comes
// meanwhile, and the calendar time.
class SdlClock final : public ClockService {
 public:
  explicit SdlClock(SdlWindow& window) : window_(window) {}
  void Sleep(Dword delay_ms) override { window_.sleep_ms(delay_ms); }
  std::int64_t time_seconds() override {
    return static_cast<std::int64_t>(std::time(nullptr));
  }

 private:
  SdlWindow& window_;
};

class SdlPlatform {
 public:
  // Needs a started session that outlives it. Trace lines go to `out`.
  SdlPlatform(const SdlSession& /*session*/, std::FILE* out = stdout)
      : platform_(assemble(*this, out)) {
    window.set_sound(&sound);
    window.set_outside_requests(&outside);
  }
  ~SdlPlatform() {
    window.set_outside_requests(nullptr);
    window.set_sound(nullptr);
  }
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  Platform& platform() { return platform_; }

  Faults faults;
  OutsideRequests outside;
  HeapMemory memory{faults};
  HostFiles files{faults};
  SoftGdi gdi{faults};
  SdlWindow window{faults, gdi};
  SdlBox box{faults, window};
  SdlClock clock{window};
  SdlDisplay display{faults, gdi, window};
  SdlSound sound{faults, window};

 private:
  Platform platform_;
};

}  // namespace mowa::pf
