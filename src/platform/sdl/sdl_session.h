// The SDL video subsystem for the lifetime of the platform, with the hints
// every window of the program relies on.
#pragma once

#include <string>

struct SDL_Window;

namespace mowa::pf {

class SdlSession {
 public:
  SdlSession();
  ~SdlSession();
  SdlSession(const SdlSession&) = delete;
  SdlSession& operator=(const SdlSession&) = delete;

  bool ok() const { return ok_; }
  // Why the video subsystem could not start; empty when it did.
  const std::string& error() const { return error_; }

 private:
  bool ok_ = false;
  std::string error_;
};

// Whether a window manager looks after the windows of the display. False
// only where the display is known to have none: an X server on which no
// window manager announces itself (a kiosk, a bare X session). There no one
// answers a request for full screen, and a window covers the display only
// when the program places it so.
bool has_window_manager(SDL_Window* window);

}  // namespace mowa::pf
