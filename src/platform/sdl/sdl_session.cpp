#include "platform/sdl/sdl_session.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdlib>

namespace mowa::pf {

SdlSession::SdlSession() {
  // Pixels are scaled up as blocks: the pictures are pixel art.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  // The software renderer draws into the window's own frame buffer instead
  // of going through GL.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // Presents must never wait for the monitor: fades time themselves by sleeps.
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  // A message box takes the focus from the full-screen window; that must not
  // iconify the presentation.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // Closing the window is a close request of the window (WM_CLOSE), not a
  // second, separate quit request.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // Interrupts and termination requests are the platform's own to handle:
  // they must also end a program whose message box is open.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The program reads key presses, never composed text: the X input method
  // need not parse the locale's table of compose sequences, which costs half
  // the processor time of opening the display. A table the user names wins.
  setenv("XCOMPOSEFILE", "/dev/null", 0);
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
    error_ = SDL_GetError();
    return;
  }
  // Without any display SDL falls back to drivers that show nothing; a
  // presentation nobody can see must not run unless that was asked for.
  const std::string driver =
      SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  if (!SDL_GetHint(SDL_HINT_VIDEODRIVER) &&
      (driver == "offscreen" || driver == "dummy")) {
    error_ = "no display to show a window on";
    SDL_Quit();
    return;
  }
  ok_ = true;
}

SdlSession::~SdlSession() {
  if (ok_) SDL_Quit();
}

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
