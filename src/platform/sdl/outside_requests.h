// Interrupts and termination requests from outside (SIGINT, SIGTERM): the
// first asks the program to close as the window manager's close request
// does; a second one, or one that comes while a message box is open, ends
// the program at once.
#pragma once

#include <thread>

namespace mowa::pf {

class OutsideRequests {
 public:
  // Takes SIGINT and SIGTERM over for its lifetime; SDL must have been told
  // not to install its own handlers.
  OutsideRequests();
  ~OutsideRequests();
  OutsideRequests(const OutsideRequests&) = delete;
  OutsideRequests& operator=(const OutsideRequests&) = delete;

  // Signals that came in all, and those not yet taken.
  int came() const;
  int pending() const;
  void take();
  // The number of the last signal, for the exit status 128 + it.
  int last_signal() const;

 private:
  int taken_ = 0;
  std::thread waker_;
};

}  // namespace mowa::pf
