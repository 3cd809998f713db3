// Sleeping and the calendar time.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace mowa::pf {

class ClockService {
 public:
  virtual ~ClockService() = default;
  // Blocks the only thread for the given milliseconds.
  virtual void Sleep(Dword delay_ms) = 0;
  // The current calendar time in whole seconds, as the C library's time().
  virtual std::int64_t time_seconds() = 0;
};

}  // namespace mowa::pf
