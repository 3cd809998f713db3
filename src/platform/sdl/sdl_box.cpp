#include "platform/sdl/sdl_box.h"

#include <SDL.h>

#include <cstdio>
#include <string>

#include "base/cp932.h"
#include "platform/softgdi/box_picture.h"

namespace mowa::pf {
namespace {

// How often the box's loop looks for input and at the owner's queue: a key
// or an ended sound is noticed at most this late while a box is open.
constexpr int kBoxPoll_ms = 10;

bool closes_box(const SDL_Keysym& key) {
  return key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER ||
         key.sym == SDLK_SPACE || key.sym == SDLK_ESCAPE;
}

}  // namespace

SdlBox::SdlBox(Faults& faults, SdlWindow& window)
    : faults_(faults), window_(window) {}

SdlBox::~SdlBox() = default;

int SdlBox::MessageBoxA(Hwnd owner, const char* text, const char* caption,
                        Uint /*type*/) {
  window_.present_all();
  if (faults_.fail("MessageBoxA")) return 0;
  const std::string_view text_cp932 = text ? text : "";
  const std::string_view caption_cp932 = caption ? caption : "";
  const std::string caption_utf8 = base::cp932_to_utf8(caption_cp932);
  std::string text_utf8 = base::cp932_to_utf8(text_cp932);
  // One line feed ends the echo, whatever ended the text.
  while (!text_utf8.empty() &&
         (text_utf8.back() == '\n' || text_utf8.back() == '\r'))
    text_utf8.pop_back();
  std::fprintf(stderr, "mowa: [%s] %s\n", caption_utf8.c_str(),
               text_utf8.c_str());
  std::fflush(stderr);
  // Input that came before the box is the owner's, to be handled after it.
  window_.translate_pending();

  Surface picture;
  BoxLayout layout =
      draw_box(picture, font_.get(), caption_cp932, text_cp932, false);
  // Centred over the owner, or on the screen when there is none to show.
  SDL_Rect area{0, 0, layout.width, layout.height};
  SdlView* owner_view = window_.shown_view(owner);
  if (owner_view) {
    SDL_GetWindowPosition(owner_view->window(), &area.x, &area.y);
    SDL_GetWindowSize(owner_view->window(), &area.w, &area.h);
  } else {
    SDL_GetDisplayBounds(0, &area);
  }
  SdlView::Options o;
  o.title_utf8 = caption_utf8;
  o.x = area.x + (area.w - layout.width) / 2;
  o.y = area.y + (area.h - layout.height) / 2;
  o.width = o.picture_width = layout.width;
  o.height = o.picture_height = layout.height;
  o.borderless = true;
  o.on_top = true;
  std::string error;
  std::unique_ptr<SdlView> view = SdlView::create(o, error);
  if (!view) {
    std::fprintf(stderr, "mowa: cannot show the box: %s\n", error.c_str());
    return 0;
  }
  if (owner_view) SDL_SetWindowModalFor(view->window(), owner_view->window());
  view->present(picture);  // uploaded now, shown with the window
  picture.changed = false;
  view->show();
  view->focus();

  bool pressed = false;  // the left button went down on OK
  bool open = true;
  window_.box_opened();
  while (open) {
    window_.heed_outside_requests();
    window_.pump_sound();
    window_.pump_for_box(owner);
    window_.present_all();
    if (picture.changed) {
      picture.changed = false;
      view->present(picture);
    }
    // Polled, not waited for: SDL's wait wakes itself by sending a message
    // to its newest window, here the box, over a second display connection;
    // closing the box could let that message arrive after the window is
    // gone, which X makes a fatal error.
    SDL_Event event;
    if (!SDL_PollEvent(&event)) {
      SDL_Delay(kBoxPoll_ms);
      continue;
    }
    const bool mine =
        (event.type == SDL_MOUSEMOTION &&
         event.motion.windowID == view->id()) ||
        ((event.type == SDL_MOUSEBUTTONDOWN ||
          event.type == SDL_MOUSEBUTTONUP) &&
         event.button.windowID == view->id()) ||
        (event.type == SDL_WINDOWEVENT && event.window.windowID == view->id());
    if (event.type == SDL_KEYDOWN) {
      // The owner takes no input while the box is open: every key is the
      // box's. A key held down since before the box does not close it.
      if (!event.key.repeat && closes_box(event.key.keysym)) open = false;
    } else if (!mine) {
      window_.translate(event, false);
    } else if (event.type == SDL_WINDOWEVENT) {
      if (event.window.event == SDL_WINDOWEVENT_CLOSE)
        open = false;
      else
        view->redraw();
    } else if (event.type == SDL_MOUSEBUTTONDOWN) {
      if (event.button.button == SDL_BUTTON_LEFT &&
          contains(layout.button, event.button.x, event.button.y)) {
        pressed = true;
        layout =
            draw_box(picture, font_.get(), caption_cp932, text_cp932, true);
      }
    } else if (event.type == SDL_MOUSEBUTTONUP) {
      // A button pressed on the owner may be let go over the box: the owner
      // still hears of the release once the box has closed.
      window_.translate(event, false);
      if (event.button.button == SDL_BUTTON_LEFT && pressed) {
        pressed = false;
        if (contains(layout.button, event.button.x, event.button.y))
          open = false;
        else
          layout =
              draw_box(picture, font_.get(), caption_cp932, text_cp932, false);
      }
    }
  }
  window_.box_closed();
  view.reset();
  if (owner_view) owner_view->focus();
  window_.present_all();
  return IDOK;
}

}  // namespace mowa::pf
