// The browser backend as one object: the page's canvas, input, time and
// files over the software GDI that the headless backend draws with too, so
// that a scenario gives the same pixels in both.
#pragma once

#include <cstdio>

#include "platform/common/faults.h"
#include "platform/common/heap_memory.h"
#include "platform/common/host_files.h"
#include "platform/platform.h"
#include "platform/softgdi/soft_gdi.h"
#include "platform/web/web_saves.h"
#include "platform/web/web_services.h"
#include "platform/web/web_sound.h"
#include "platform/web/web_window.h"

namespace mowa::pf {

class WebPlatform {
 public:
  // Trace lines go to `out`.
  explicit WebPlatform(std::FILE* out = stdout)
      : platform_(assemble(*this, out, &saves)) {
    window.set_sound(&sound);
  }
  WebPlatform(const WebPlatform&) = delete;
  WebPlatform& operator=(const WebPlatform&) = delete;

  Platform& platform() { return platform_; }

  Faults faults;
  HeapMemory memory{faults};
  HostFiles files{faults};
  SoftGdi gdi{faults};
  WebWindow window{faults, gdi};
  WebBox box{faults, window};
  WebClock clock{window};
  WebDisplay display{faults, gdi};
  WebSound sound{faults, window};
  WebSaves saves{files};

 private:
  Platform platform_;
};

}  // namespace mowa::pf
