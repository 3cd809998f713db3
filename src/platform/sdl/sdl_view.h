// One SDL window that shows a Surface: a streaming texture scaled to the
// window with square pixels, the rest of the window black.
#pragma once

#include <SDL_rect.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/softgdi/surface.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace mowa::pf {

class SdlView {
 public:
  struct Options {
    std::string title_utf8;
    int x = 0, y = 0;
    int width = 1, height = 1;  // the window's initial size
    // The size of the picture shown until a Surface of another size is
    // presented; the window scales it, aspect kept. 0: the window's size.
    int picture_width = 0;
    int picture_height = 0;
    bool borderless = false;
    bool on_top = false;
    bool high_dpi = false;
  };

  // Null when SDL cannot make the window or its renderer; `error` says why.
  static std::unique_ptr<SdlView> create(const Options& options,
                                         std::string& error);
  ~SdlView();
  SdlView(const SdlView&) = delete;
  SdlView& operator=(const SdlView&) = delete;

  std::uint32_t id() const { return id_; }
  SDL_Window* window() const { return window_; }

  // Uploads the Surface and shows it; the picture takes the Surface's size.
  void present(const Surface& surface);
  // The picture takes the Surface's size, black until it is presented; a 0x0
  // Surface leaves it as it is.
  void fit_picture(const Surface& surface);
  // Shows the last uploaded picture again (after an expose or a resize).
  void redraw();

  void show();
  void hide();
  void move_resize(int x, int y, int width, int height);
  void set_on_top(bool on_top);
  void set_fullscreen(bool fullscreen);
  bool fullscreen() const { return fullscreen_; }
  // The reader's marks, drawn over the shown frame only: never into the
  // picture, so that nothing of them reaches what the program reads back.
  void set_fast_mark(bool on);
  // A note (a level, a message, the list of keys) shown at the top-left of
  // the picture; null takes it away.
  void set_note(const Surface* note);
  // Scaling by the largest whole multiple of the picture, centred on black,
  // instead of filling the window.
  void set_whole_multiples(bool whole);
  // Raises the window and gives it the keyboard.
  void focus();

 private:
  SdlView() = default;
  // Whether the window lies exactly over the display it is on.
  bool covers_display() const;
  // Asks SDL for full screen, or to leave it, as fullscreen_ says.
  void apply_fullscreen();
  // Full screen where no window manager would answer SDL's request.
  void cover_display(bool cover);
  void draw_marks();
  // A black picture of this size, pointer positions reported in its pixels.
  bool make_picture(int width, int height, std::string& error);
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  std::uint32_t id_ = 0;
  int picture_width_ = 0;
  int picture_height_ = 0;
  bool fullscreen_ = false;      // what the program asked for
  bool sdl_fullscreen_ = false;  // what SDL was asked for
  // Without a window manager full screen is the window placed over the
  // display by hand; `placed_` is where the program put it, for the way
  // back.
  bool covering_ = false;
  bool fast_mark_ = false;
  SDL_Texture* note_ = nullptr;
  SDL_Rect note_rect_{};
  bool whole_multiples_ = false;
  SDL_Rect placed_{0, 0, 1, 1};
  bool shown_ = false;
};

}  // namespace mowa::pf
