// Waiting for input while the scenario only polls an unchanged mouse. Not a
// Windows service: the runner asks for it between two turns of the main loop.
#pragma once

namespace mowa::pf {

class IdleWait {
 public:
  virtual ~IdleWait() = default;
  // Waits briefly for input instead of spinning; returns at once when the
  // queue is not empty.
  virtual void wait_for_input() = 0;
};

}  // namespace mowa::pf
