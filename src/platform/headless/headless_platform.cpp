#include "platform/headless/headless_platform.h"

namespace mowa::pf {

HeadlessPlatform::HeadlessPlatform(std::FILE* out)
    : platform_{box, clock, window, gdi, display, sound, memory, files, files, files, out} {}

void HeadlessPlatform::log_held() {
  log.event("held")
      .num("blocks", static_cast<std::int64_t>(memory.live_blocks()))
      .num("locked_blocks", static_cast<std::int64_t>(memory.locked_blocks()))
      .num("gdi_objects", static_cast<std::int64_t>(gdi.live_objects()))
      .num("dcs", static_cast<std::int64_t>(gdi.open_dcs()))
      .num("files", static_cast<std::int64_t>(files.open_handles() +
                                              files.open_streams()));
}

}  // namespace mowa::pf
