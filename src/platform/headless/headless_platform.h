// The headless backend as one object: virtual clock, scripted input, event
// log, fault injection, and the software GDI drawing into real pixels.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/common/faults.h"
#include "platform/common/heap_memory.h"
#include "platform/common/host_files.h"
#include "platform/headless/event_log.h"
#include "platform/headless/headless_services.h"
#include "platform/headless/headless_window.h"
#include "platform/platform.h"
#include "platform/softgdi/soft_gdi.h"

namespace mowa::pf {

class HeadlessPlatform {
 public:
  // Trace lines go to `out`.
  explicit HeadlessPlatform(std::FILE* out = stdout)
      : platform_(assemble(*this, out)) {}
  HeadlessPlatform(const HeadlessPlatform&) = delete;
  HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

  Platform& platform() { return platform_; }
  // Logs what the program still holds as it ends: memory blocks (and those
  // still locked), GDI objects, device contexts, files and streams.
  void log_held() {
    log.event("held")
        .num("blocks", static_cast<std::int64_t>(memory.live_blocks()))
        .num("locked_blocks", static_cast<std::int64_t>(memory.locked_blocks()))
        .num("gdi_objects", static_cast<std::int64_t>(gdi.live_objects()))
        .num("dcs", static_cast<std::int64_t>(gdi.open_dcs()))
        .num("files", static_cast<std::int64_t>(files.open_handles() +
                                                files.open_streams()));
  }

  Faults faults;
  EventLog log;
  Presenter presenter{log};
  HeapMemory memory{faults};
  HostFiles files{faults};
  SoftGdi gdi{faults};
  HeadlessWindow window{faults, log, gdi, presenter};
  HeadlessBox box{faults, log, window};
  HeadlessSound sound{faults, log, window};
  HeadlessClock clock{log, window, sound};
  HeadlessDisplay display{faults, log, gdi};

 private:
  Platform platform_;
};

}  // namespace mowa::pf
