// Whether a window manager looks after the windows of the display.
#pragma once

struct SDL_Window;

namespace mowa::pf {

// False only where the display is known to have none: an X server on which
// no window manager announces itself (a kiosk, a bare X session). There no
// one answers a request for full screen, and a window covers the display
// only when the program places it so.
bool has_window_manager(SDL_Window* window);

}  // namespace mowa::pf
