// SDL events as the window messages the program handles.
#include <SDL.h>

#include <algorithm>

#include "platform/sdl/sdl_sound.h"
#include "platform/sdl/sdl_window.h"

namespace mowa::pf {
namespace {

// The virtual-key code of a key, 0 for keys the program has no name for.
Wparam virtual_key(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z)
    return static_cast<Wparam>('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9)
    return static_cast<Wparam>('0' + (key - SDLK_0));
  if (key >= SDLK_F1 && key <= SDLK_F12)
    return static_cast<Wparam>(0x70 + (key - SDLK_F1));
  switch (key) {
    case SDLK_ESCAPE:
      return VK_ESCAPE;
    case SDLK_BACKSPACE:
      return 0x08;
    case SDLK_TAB:
      return 0x09;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return 0x0D;
    case SDLK_SPACE:
      return 0x20;
    case SDLK_PAGEUP:
      return 0x21;
    case SDLK_PAGEDOWN:
      return 0x22;
    case SDLK_END:
      return 0x23;
    case SDLK_HOME:
      return 0x24;
    case SDLK_LEFT:
      return 0x25;
    case SDLK_UP:
      return 0x26;
    case SDLK_RIGHT:
      return 0x27;
    case SDLK_DOWN:
      return 0x28;
    case SDLK_INSERT:
      return 0x2D;
    case SDLK_DELETE:
      return 0x2E;
    default:
      return 0;
  }
}

}  // namespace

void SdlWindow::queue_input(Hwnd hwnd, Uint message, Wparam wparam,
                            Lparam lparam) {
  if (!live(hwnd)) return;
  queue_message(
      Msg{hwnd, message, wparam, lparam, message_time_ms(), message_point()});
}

void SdlWindow::translate_pending() {
  SDL_PumpEvents();
  last_pump_ = std::chrono::steady_clock::now();
  translate_held();
}

void SdlWindow::translate_held() {
  SDL_Event event;
  while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT,
                        SDL_LASTEVENT) > 0)
    translate(event, true);
}

void SdlWindow::translate(const SDL_Event& event, bool accept_input) {
  const Hwnd main = main_window();
  // SDL gives pointer positions in picture pixels (the renderer's logical
  // size undoes scaling, letterboxing and the HiDPI factor); the margins of a
  // letterboxed window lie outside the picture and count as its edge.
  const auto picture_point = [this](Hwnd hwnd, int x, int y) {
    const Surface* picture = surface(hwnd);
    const int right = picture ? std::max(picture->width() - 1, 0) : 0;
    const int bottom = picture ? std::max(picture->height() - 1, 0) : 0;
    return Point{std::clamp(x, 0, right), std::clamp(y, 0, bottom)};
  };
  switch (event.type) {
    case SDL_QUIT:
      // An interrupt or termination request: closes like the window manager.
      if (main) queue_input(main, WM_CLOSE, 0, 0);
      return;
    case SDL_WINDOWEVENT: {
      const Hwnd hwnd = handle_of_sdl_window(event.window.windowID);
      SdlView* view_of_event = view(hwnd);
      if (!view_of_event) return;
      switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          queue_input(hwnd, WM_CLOSE, 0, 0);
          break;
        case SDL_WINDOWEVENT_MINIMIZED:
          if (sound_ && hwnd == main) sound_->hush_music(true);
          break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
          if (sound_ && hwnd == main) sound_->hush_music(false);
          // The framebuffer keeps the picture: show it again as it is.
          view_of_event->redraw();
          break;
        default:
          break;
      }
      return;
    }
    case SDL_MOUSEMOTION: {
      const Hwnd hwnd = handle_of_sdl_window(event.motion.windowID);
      if (!accept_input || !hwnd) return;
      const Point at = picture_point(hwnd, event.motion.x, event.motion.y);
      pointer_x_ = at.x;
      pointer_y_ = at.y;
      queue_input(hwnd, WM_MOUSEMOVE, buttons_,
                  point_param(pointer_x_, pointer_y_));
      return;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const bool down = event.type == SDL_MOUSEBUTTONDOWN;
      Wparam flag = 0;
      Uint press = 0, twice_press = 0, release = 0;
      switch (event.button.button) {
        case SDL_BUTTON_LEFT:
          flag = MK_LBUTTON;
          press = WM_LBUTTONDOWN, twice_press = WM_LBUTTONDBLCLK;
          release = WM_LBUTTONUP;
          break;
        case SDL_BUTTON_RIGHT:
          flag = MK_RBUTTON;
          press = WM_RBUTTONDOWN, twice_press = WM_RBUTTONDBLCLK;
          release = WM_RBUTTONUP;
          break;
        case SDL_BUTTON_MIDDLE:
          flag = MK_MBUTTON;
          press = WM_MBUTTONDOWN, twice_press = WM_MBUTTONDBLCLK;
          release = WM_MBUTTONUP;
          break;
        default:
          return;
      }
      Hwnd hwnd = handle_of_sdl_window(event.button.windowID);
      if (!accept_input) {
        // A release while a box is open still ends the press the program
        // saw: it waits in the queue until the box has closed, or the
        // button would stay down for the scenario.
        if (down || !(buttons_ & flag)) return;
        if (!hwnd) hwnd = main;
        buttons_ &= ~flag;
        queue_input(hwnd, release, buttons_,
                    point_param(pointer_x_, pointer_y_));
        return;
      }
      if (!hwnd) return;
      if (down) reader_clicked();
      // Every second click in a row is a double-click, as the class asks.
      const bool twice =
          down && event.button.clicks >= 2 && event.button.clicks % 2 == 0;
      buttons_ = down ? (buttons_ | flag) : (buttons_ & ~flag);
      const Uint message = !down ? release : twice ? twice_press : press;
      const Point at = picture_point(hwnd, event.button.x, event.button.y);
      queue_input(hwnd, message, buttons_, point_param(at.x, at.y));
      return;
    }
    case SDL_KEYDOWN: {
      if (!accept_input) return;
      // Without keyboard focus (no window manager) SDL names no window: the
      // key is meant for the program's window all the same.
      Hwnd hwnd = handle_of_sdl_window(event.key.windowID);
      if (!hwnd) hwnd = main;
      const SDL_Keycode key = event.key.keysym.sym;
      if ((key == SDLK_RETURN || key == SDLK_KP_ENTER) &&
          (event.key.keysym.mod & KMOD_ALT)) {
        if (!event.key.repeat && hwnd == main && main) {
          if (SdlView* main_view = view(main))
            main_view->set_fullscreen(!main_view->fullscreen());
        }
        return;
      }
      // The reader's own keys: the scenario never hears of them.
      if (reader_key(key, event.key.repeat != 0)) return;
      if (const Wparam vk = virtual_key(key))
        queue_input(hwnd, WM_KEYDOWN, vk, 1);  // a repeat count of one
      return;
    }
    default:
      return;
  }
}

}  // namespace mowa::pf
