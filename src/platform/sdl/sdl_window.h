// Windows and the message queue of the SDL backend. Behaves like the headless
// one (the same messages in the same order, the same presents), with input
// from SDL events and real time.
#pragma once

#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/faults.h"
#include "platform/sdl/sdl_view.h"
#include "platform/softgdi/soft_gdi.h"
#include "platform/window.h"

union SDL_Event;

namespace mowa::pf {

class SdlSound;

class SdlWindow final : public WindowService {
 public:
  SdlWindow(Faults& faults, SoftGdi& gdi);
  ~SdlWindow() override;

  // Told of every poll of the queue, so that ended sounds are notified.
  void set_sound(SdlSound* sound) { sound_ = sound; }
  void pump_sound();

  // The first window created, or null.
  Hwnd main_window() const;
  Surface* surface(Hwnd hwnd);
  // The SDL window of a live, shown window; null otherwise.
  SdlView* shown_view(Hwnd hwnd);
  // Presents every window whose picture changed since its last frame.
  void present_all();

  // Turns one SDL event into the messages it stands for, queued. Without
  // `accept_input` (a modal box is open) pointer and key input is dropped.
  void translate(const SDL_Event& event, bool accept_input);
  // Asks the display for news and queues whatever input SDL holds now.
  void translate_pending();
  // Dispatches what a modal box's own loop would while it is open: the
  // owner's pending paints and its queued MCI notifications.
  void pump_for_box(Hwnd owner);
  // Blocks for the given time while queueing input and keeping the windows
  // shown.
  void sleep_ms(Dword delay_ms);

  // The display mode: the main window shows its picture full screen while
  // the program's 640x480 mode is in force. Kept until the window exists.
  void set_display_fullscreen(bool fullscreen);
  bool display_fullscreen() const { return fullscreen_; }

  Word RegisterClassA(const WndClassA* wc) override;
  Hwnd CreateWindowExA(Dword ex_style, const char* class_name,
                       const char* window_name, Dword style, int x, int y,
                       int width, int height, Hwnd parent) override;
  Bool SetWindowPos(Hwnd hwnd, Hwnd insert_after, int x, int y, int cx,
                    int cy, Uint flags) override;
  Bool ShowWindow(Hwnd hwnd, int cmd_show) override;
  Bool PeekMessageA(Msg* msg, Hwnd hwnd, Uint filter_min, Uint filter_max,
                    Uint remove) override;
  Bool TranslateMessage(const Msg* msg) override;
  Lresult DispatchMessageA(const Msg* msg) override;
  Bool PostMessageA(Hwnd hwnd, Uint message, Wparam wparam,
                    Lparam lparam) override;
  void PostQuitMessage(int exit_code) override;
  Lresult DefWindowProcA(Hwnd hwnd, Uint message, Wparam wparam,
                         Lparam lparam) override;
  Bool InvalidateRect(Hwnd hwnd, const Rect* rect, Bool erase) override;
  Bool UpdateWindow(Hwnd hwnd) override;
  Hdc BeginPaint(Hwnd hwnd, PaintStruct* ps) override;
  Bool EndPaint(Hwnd hwnd, const PaintStruct* ps) override;
  Hdc GetDC(Hwnd hwnd) override;
  int ReleaseDC(Hwnd hwnd, Hdc hdc) override;
  void idle_hint() override;

 private:
  struct Window {
    WndProc proc = nullptr;
    void* context = nullptr;
    bool visible = false;
    bool invalid = false;
    bool destroyed = false;
    Surface surface;
    std::unique_ptr<SdlView> view;
  };
  Window* find(Hwnd hwnd);
  Hwnd handle_of_sdl_window(std::uint32_t sdl_window_id) const;
  Lresult send(Hwnd hwnd, Uint message, Wparam wparam, Lparam lparam);
  void present_if_changed(Window& w);
  void set_visible(Window& w, bool visible);
  void queue_input(Hwnd hwnd, Uint message, Wparam wparam, Lparam lparam);
  bool has_work() const;
  // Queues the input SDL already holds, without asking the display.
  void translate_held();

  Faults& faults_;
  SoftGdi& gdi_;
  SdlSound* sound_ = nullptr;
  std::map<std::string, WndClassA> classes_;
  std::vector<std::unique_ptr<Window>> windows_;  // handle = index + 1
  std::deque<Msg> queue_;
  bool quit_pending_ = false;
  int quit_code_ = 0;
  bool fullscreen_ = false;
  int pointer_x_ = 0, pointer_y_ = 0;
  Wparam buttons_ = 0;
  std::chrono::steady_clock::time_point last_pump_{};
  int idle_wait_ms_;
};

}  // namespace mowa::pf
