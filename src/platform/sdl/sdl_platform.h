// The SDL backend as one object: real windows, time, input and sound over
// the software GDI that the headless backend draws with too, so that a
// scenario gives the same pixels in both.
#pragma once

#include <cstdio>

#include "platform/common/faults.h"
#include "platform/common/heap_memory.h"
#include "platform/common/host_files.h"
#include "platform/platform.h"
#include "platform/sdl/outside_requests.h"
#include "platform/sdl/sdl_box.h"
#include "platform/sdl/sdl_clock.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_session.h"
#include "platform/sdl/sdl_sound.h"
#include "platform/sdl/sdl_window.h"
#include "platform/softgdi/soft_gdi.h"

namespace mowa::pf {

class SdlPlatform {
 public:
  // Needs a started session that outlives it. Trace lines go to `out`.
  SdlPlatform(const SdlSession& session, std::FILE* out = stdout);
  ~SdlPlatform();
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
