// Windows and the message queue of the SDL backend: the shared window table
// with input from SDL events and real time.
#pragma once

#include <chrono>
#include <memory>
#include <vector>

#include "platform/common/faults.h"
#include "platform/softgdi/window_table.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_view.h"
#include "platform/softgdi/soft_gdi.h"

union SDL_Event;

namespace mowa::pf {

class SdlSound;
class OutsideRequests;

class SdlWindow final : public WindowTable, public IdleWait {
 public:
  SdlWindow(Faults& faults, SoftGdi& gdi);
  ~SdlWindow() override;

  // Told of every poll of the queue, so that ended sounds are notified.
  void set_sound(SdlSound* sound) { sound_ = sound; }
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

  SdlSound* sound_ = nullptr;
  std::vector<std::unique_ptr<SdlView>> views_;  // handle = index + 1
  bool fullscreen_ = false;
  OutsideRequests* outside_ = nullptr;
  int boxes_open_ = 0;
  int pointer_x_ = 0, pointer_y_ = 0;
  Wparam buttons_ = 0;
  std::chrono::steady_clock::time_point last_pump_{};
};

}  // namespace mowa::pf
