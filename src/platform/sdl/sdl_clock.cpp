#include "platform/sdl/sdl_clock.h"

#include <ctime>

namespace mowa::pf {

std::int64_t SdlClock::time_seconds() {
  return static_cast<std::int64_t>(std::time(nullptr));
}

}  // namespace mowa::pf
