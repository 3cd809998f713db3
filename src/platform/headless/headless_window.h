// Windows and the message queue of the headless backend. Nothing ever waits:
// input comes from a script keyed to idle steps, time from a virtual clock.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/faults.h"
#include "platform/headless/event_log.h"
#include "platform/headless/input_script.h"
#include "platform/headless/presenter.h"
#include "platform/softgdi/soft_gdi.h"
#include "platform/window.h"

namespace mowa::pf {

// Thrown out of PeekMessageA when the run reaches its step limit.
struct StepLimitReached {
  std::uint64_t steps;
};

class HeadlessWindow final : public WindowService {
 public:
  HeadlessWindow(Faults& faults, EventLog& log, SoftGdi& gdi,
                 Presenter& presenter);

  void set_input(std::vector<InputEvent> events);
  void set_max_steps(std::uint64_t steps) { max_steps_ = steps; }
  // The first window created, or null.
  Hwnd main_window() const;
  Surface* surface(Hwnd hwnd);
  // Presents every window whose picture changed since its last frame.
  void present_all();
  // Dispatches what a modal box's own loop would while it is open: the
  // owner's pending paints and its queued MCI notifications.
  void pump_for_box(Hwnd owner);

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

 private:
  struct Window {
    WndProc proc = nullptr;
    void* context = nullptr;
    std::string title;
    int x = 0, y = 0;
    bool visible = false;
    bool invalid = false;
    bool destroyed = false;
    Surface surface;
  };
  Window* find(Hwnd hwnd);
  Lresult send(Hwnd hwnd, Uint message, Wparam wparam, Lparam lparam);
  void queue_due_input();

  Faults& faults_;
  EventLog& log_;
  SoftGdi& gdi_;
  Presenter& presenter_;
  std::map<std::string, WndClassA> classes_;
  std::vector<std::unique_ptr<Window>> windows_;  // handle = index + 1
  std::deque<Msg> queue_;
  bool quit_pending_ = false;
  int quit_code_ = 0;
  bool in_idle_step_ = false;
  std::uint64_t max_steps_ = 10'000'000;
  std::vector<InputEvent> input_;
  std::size_t next_input_ = 0;
  int pointer_x_ = 0, pointer_y_ = 0;
  Wparam buttons_ = 0;
};

}  // namespace mowa::pf
