#include "platform/sdl/window_manager.h"

#include <SDL.h>
#include <SDL_syswm.h>

namespace mowa::pf {

bool has_window_manager(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11) && !defined(MOWA_NO_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
    return true;
  Display* display = info.info.x11.display;
  // A window manager of the freedesktop conventions names its check window
  // on the root window.
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, left = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, DefaultRootWindow(display),
                                        check, 0, 1, False, XA_WINDOW, &type,
                                        &format, &count, &left, &data);
  const bool found = status == Success && type == XA_WINDOW && count == 1;
  if (data) XFree(data);
  return found;
#else
  (void)window;
  return true;
#endif
}

}  // namespace mowa::pf
