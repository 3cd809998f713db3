// Windows and the message queue of the SDL backend: the shared window table
// with input from SDL events and real time.
#pragma once

#include <SDL_keycode.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/faults.h"
#include "platform/common/reader_settings.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_view.h"
#include "platform/softgdi/soft_gdi.h"
#include "platform/softgdi/window_table.h"

union SDL_Event;

namespace mowa::pf {

class SdlSound;
class FontLibrary;
class RasterFont;
class OutsideRequests;

class SdlWindow final : public WindowTable, public IdleWait {
 public:
  SdlWindow(Faults& faults, SoftGdi& gdi);
  ~SdlWindow() override;

  // Told of every poll of the queue, so that ended sounds are notified.
  void set_sound(SdlSound* sound) {
    sound_ = sound;
    apply_reader_settings();
  }
  void set_outside_requests(OutsideRequests* outside) { outside_ = outside; }
  // While a message box is open a signal from outside ends the program.
  void box_opened() { ++boxes_open_; }
  void box_closed() { --boxes_open_; }
  // A first signal from outside is the main window's close request; a
  // second one, or one while a box is open, ends the program at once with
  // the display as it was before the program.
  void heed_outside_requests();
  void pump_sound();

  // The SDL window of a live, shown window; null otherwise.
  SdlView* shown_view(Hwnd hwnd);

  // Turns one SDL event into the messages it stands for, queued. Without
  // `accept_input` (a modal box is open) pointer and key input is dropped.
  void translate(const SDL_Event& event, bool accept_input);
  // Asks the display for news and queues whatever input SDL holds now.
  void translate_pending();
  // Blocks for the given time while queueing input and keeping the windows
  // shown.
  void sleep_ms(Dword delay_ms);

  // The display mode: the main window shows its picture full screen while
  // the program's 640x480 mode is in force. Kept until the window exists.
  void set_display_fullscreen(bool fullscreen);
  bool display_fullscreen() const { return fullscreen_; }

  void wait_for_input() override;

  // Fast-forward: while Ctrl is held, or after Tab until Tab again, every
  // sleep takes a tenth of its time. The scenario sees nothing of it.
  bool fast_forward() const;
  void toggle_fast_forward();
  const ReaderSettings& reader_settings() const { return settings_; }

 private:
  void before_poll() override;
  bool open_window(const char* window_name, Dword style, int x, int y,
                   int width, int height) override;
  void place_window(Hwnd hwnd, Hwnd insert_after, int x, int y, int cx,
                    int cy) override;
  void set_window_visible(Hwnd hwnd, bool visible) override;
  void present_if_changed(Hwnd hwnd, Surface& surface) override;
  Dword message_time_ms() const override;
  Point message_point() const override { return {pointer_x_, pointer_y_}; }

  SdlView* view(Hwnd hwnd);
  Hwnd handle_of_sdl_window(std::uint32_t sdl_window_id) const;
  void queue_input(Hwnd hwnd, Uint message, Wparam wparam, Lparam lparam);
  // Queues the input SDL already holds, without asking the display.
  void translate_held();

  // The reader's keys (reader_keys.cpp). reader_key is true when the key
  // was one of them, which the scenario then never hears of.
  bool reader_key(SDL_Keycode key, bool repeat);
  void reader_clicked();
  void load_reader_settings();
  void apply_reader_settings();
  void keep_reader_settings();
  void show_volume();
  void take_screenshot();
  // Lines over the picture: for a while, or `lasting` until a key or click.
  void show_note(const std::vector<std::string>& lines_utf8, bool lasting);
  void expire_note();
  int ms_until_note_expires() const;

  SdlSound* sound_ = nullptr;
  std::vector<std::unique_ptr<SdlView>> views_;  // handle = index + 1
  bool fullscreen_ = false;
  OutsideRequests* outside_ = nullptr;
  int boxes_open_ = 0;
  int pointer_x_ = 0, pointer_y_ = 0;
  Wparam buttons_ = 0;
  bool fast_lasting_ = false;  // Tab's fast-forward
  ReaderSettings settings_;
  std::filesystem::path settings_folder_;
  std::unique_ptr<FontLibrary> note_fonts_;
  std::unique_ptr<RasterFont> note_font_;
  bool note_font_tried_ = false;
  std::uint32_t note_until_ms_ = 0;  // 0: no note, or one that lasts
  bool help_shown_ = false;
  std::chrono::steady_clock::time_point last_pump_{};
};

}  // namespace mowa::pf
