#include "platform/sdl/sdl_view.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/sdl/sdl_session.h"
#include "platform/softgdi/draw_area.h"

namespace mowa::pf {

std::unique_ptr<SdlView> SdlView::create(const Options& o, std::string& error) {
  std::unique_ptr<SdlView> view(new SdlView);
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (o.borderless) flags |= SDL_WINDOW_BORDERLESS;
  if (o.on_top) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  if (o.high_dpi) flags |= SDL_WINDOW_ALLOW_HIGHDPI;
  view->window_ =
      SDL_CreateWindow(o.title_utf8.c_str(), o.x, o.y, std::max(o.width, 1),
                       std::max(o.height, 1), flags);
  if (!view->window_) {
    error = SDL_GetError();
    return nullptr;
  }
  view->id_ = SDL_GetWindowID(view->window_);
  view->placed_ =
      SDL_Rect{o.x, o.y, std::max(o.width, 1), std::max(o.height, 1)};
  // One picture of the program's size scaled by whole blocks is light work
  // for the CPU, while a GL renderer without a GPU (a virtual or remote
  // display) takes seconds to start and milliseconds a frame.
  // SDL_RENDER_DRIVER still chooses another.
  view->renderer_ =
      SDL_CreateRenderer(view->window_, -1, SDL_RENDERER_SOFTWARE);
  if (!view->renderer_)
    view->renderer_ = SDL_CreateRenderer(view->window_, -1, 0);
  if (!view->renderer_) {
    error = SDL_GetError();
    return nullptr;
  }
  if (!view->make_picture(o.picture_width > 0 ? o.picture_width : o.width,
                          o.picture_height > 0 ? o.picture_height : o.height,
                          error))
    return nullptr;
  return view;
}

bool SdlView::make_picture(int width, int height, std::string& error) {
  if (texture_) SDL_DestroyTexture(texture_);
  picture_width_ = std::clamp(width, 1, Surface::kMaxSide);
  picture_height_ = std::clamp(height, 1, Surface::kMaxSide);
  // The logical size letterboxes the picture with its aspect kept and makes
  // SDL report pointer positions in picture pixels.
  SDL_RenderSetLogicalSize(renderer_, picture_width_, picture_height_);
  SDL_RenderSetIntegerScale(renderer_, whole_multiples_ ? SDL_TRUE : SDL_FALSE);
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                               SDL_TEXTUREACCESS_STREAMING, picture_width_,
                               picture_height_);
  if (!texture_) {
    error = SDL_GetError();
    return false;
  }
  // The surface leaves the top byte 0: it is no alpha.
  SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
  std::vector<std::uint32_t> black(
      static_cast<std::size_t>(picture_width_) * picture_height_, 0);
  SDL_UpdateTexture(texture_, nullptr, black.data(), picture_width_ * 4);
  return true;
}

SdlView::~SdlView() {
  if (note_) SDL_DestroyTexture(note_);
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
}

void SdlView::fit_picture(const Surface& surface) {
  if (surface.width() == 0 || surface.height() == 0) return;
  if (texture_ && surface.width() == picture_width_ &&
      surface.height() == picture_height_)
    return;
  std::string error;
  if (!make_picture(surface.width(), surface.height(), error))
    std::fprintf(stderr, "mowa: cannot show a picture of %dx%d: %s\n",
                 surface.width(), surface.height(), error.c_str());
}

void SdlView::present(const Surface& surface) {
  fit_picture(surface);
  const DrawArea area = drawable_area(surface);
  if (texture_ && area.width == picture_width_ && area.height > 0) {
    const SDL_Rect rect{0, 0, area.width,
                        std::min(area.height, picture_height_)};
    SDL_UpdateTexture(texture_, &rect, surface.pixels.data(), area.width * 4);
  }
  redraw();
}

void SdlView::redraw() {
  if (!shown_) return;
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  if (texture_) SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  draw_marks();
  SDL_RenderPresent(renderer_);
}

void SdlView::set_fast_mark(bool on) {
  if (on == fast_mark_) return;
  fast_mark_ = on;
  redraw();
}

void SdlView::set_note(const Surface* note) {
  if (note_) SDL_DestroyTexture(note_);
  note_ = nullptr;
  if (note && note->width() > 0 && note->height() > 0) {
    note_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                              SDL_TEXTUREACCESS_STATIC, note->width(),
                              note->height());
    if (note_) {
      SDL_SetTextureBlendMode(note_, SDL_BLENDMODE_NONE);
      SDL_UpdateTexture(note_, nullptr, note->pixels.data(), note->width() * 4);
      note_rect_ = SDL_Rect{8, 8, std::min(note->width(), picture_width_ - 16),
                            std::min(note->height(), picture_height_ - 16)};
    }
  }
  redraw();
}

void SdlView::set_whole_multiples(bool whole) {
  whole_multiples_ = whole;
  SDL_RenderSetIntegerScale(renderer_, whole ? SDL_TRUE : SDL_FALSE);
  redraw();
}

void SdlView::draw_marks() {
  if (note_) {
    const SDL_Rect source{0, 0, note_rect_.w, note_rect_.h};
    SDL_RenderCopy(renderer_, note_, &source, &note_rect_);
  }
  if (!fast_mark_) return;
  // Fast-forward: two white arrowheads on a dark plate at the top right.
  const int right = picture_width_ - 8, top = 8;
  const SDL_Rect plate{right - 30, top, 30, 18};
  SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_BLEND);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 160);
  SDL_RenderFillRect(renderer_, &plate);
  const SDL_Color white{255, 255, 255, 255};
  const auto at = [&](float x, float y) {
    return SDL_Vertex{SDL_FPoint{x, y}, white, SDL_FPoint{0, 0}};
  };
  for (const int x : {right - 26, right - 14}) {
    const SDL_Vertex head[] = {at(x, top + 3.0f), at(x + 10.0f, top + 9.0f),
                               at(x, top + 15.0f)};
    SDL_RenderGeometry(renderer_, nullptr, head, 3, nullptr, 0);
  }
}

void SdlView::show() {
  if (shown_) return;
  shown_ = true;
  SDL_ShowWindow(window_);
  apply_fullscreen();
  redraw();
}

bool SdlView::covers_display() const {
  const int display = SDL_GetWindowDisplayIndex(window_);
  SDL_Rect bounds{};
  if (display < 0 || SDL_GetDisplayBounds(display, &bounds) != 0) return false;
  int x = 0, y = 0, width = 0, height = 0;
  SDL_GetWindowPosition(window_, &x, &y);
  SDL_GetWindowSize(window_, &width, &height);
  return x == bounds.x && y == bounds.y && width == bounds.w &&
         height == bounds.h;
}

void SdlView::apply_fullscreen() {
  if (covering_ ||
      (fullscreen_ && !sdl_fullscreen_ && !has_window_manager(window_))) {
    cover_display(fullscreen_);
    return;
  }
  // A borderless window that already covers the whole display is full
  // screen as it is. Asking the window manager anyway costs a wait of up to
  // a tenth of a second for its answer, and without a window manager that
  // whole wait, before the first picture can show.
  const bool wanted = fullscreen_ && (sdl_fullscreen_ || !covers_display());
  if (wanted == sdl_fullscreen_) return;
  sdl_fullscreen_ = wanted;
  SDL_SetWindowFullscreen(window_, wanted ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void SdlView::cover_display(bool cover) {
  SDL_Rect to = placed_;
  if (cover) {
    const int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
    if (SDL_GetDisplayBounds(display, &to) != 0) return;
  }
  covering_ = cover;
  SDL_SetWindowSize(window_, to.w, to.h);
  SDL_SetWindowPosition(window_, to.x, to.y);
}

void SdlView::hide() {
  if (!shown_) return;
  shown_ = false;
  SDL_HideWindow(window_);
}

void SdlView::move_resize(int x, int y, int width, int height) {
  placed_ = SDL_Rect{x, y, std::max(width, 1), std::max(height, 1)};
  if (covering_) return;  // taken up again when full screen ends
  SDL_SetWindowSize(window_, std::max(width, 1), std::max(height, 1));
  SDL_SetWindowPosition(window_, x, y);
}

void SdlView::set_on_top(bool on_top) {
  SDL_SetWindowAlwaysOnTop(window_, on_top ? SDL_TRUE : SDL_FALSE);
}

void SdlView::set_fullscreen(bool fullscreen) {
  if (fullscreen == fullscreen_) return;
  fullscreen_ = fullscreen;
  // A hidden window goes full screen when it is shown.
  if (!shown_) return;
  apply_fullscreen();
  redraw();
}

void SdlView::focus() {
  if (!shown_) return;
  SDL_RaiseWindow(window_);
  SDL_SetWindowInputFocus(window_);
}

}  // namespace mowa::pf
