// The windows, their classes and the message queue as the backends over the
// software GDI keep them, so that a scenario sees the same messages in the
// same order and the same paints and presents whatever shows it. A backend
// adds where input and time come from and how a changed picture reaches the
// screen.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/faults.h"
#include "platform/platform.h"
#include "platform/softgdi/soft_gdi.h"

namespace mowa::pf {

class WindowTable : public WindowService {
 public:
  // What the default handling of a close request does to a window.
  enum class Closing {
    // The window hears of its destruction while still live; what is queued
    // for it or posted to it later is still delivered.
    kNotifyFirst,
    // The window vanishes first, then hears of it; its queued messages go
    // with it and later posts to it fail.
    kVanishFirst,
  };

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
  Bool SetWindowPos(Hwnd hwnd, Hwnd insert_after, int x, int y, int cx, int cy,
                    Uint flags) override;
  Bool ShowWindow(Hwnd hwnd, int cmd_show) override;
  // Hands out, in this order: queued messages, the quit request, then a
  // paint for the first invalid live window. With releases held (see
  // hold_releases), a button release waits at the head of the queue, as if
  // it were not there yet, until a poll found nothing to hand out since the
  // last press was handed out.
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

 protected:
  WindowTable(Faults& faults, SoftGdi& gdi, Closing closing);

  // Real input: a press and its release often arrive together (a quick
  // click, a tap), yet the program reads the buttons only between
  // statements, and a poll that finds nothing is the moment a statement
  // runs. The release therefore waits as long as a short press would last,
  // and until a few statements have run, so that a click-wait loop of
  // several statements reads the press whatever statement it was on.
  // Scripted input keeps the plain queue: there a press and release queued
  // at the same step leave no trace.
  void hold_releases() { hold_releases_ = true; }
  static bool is_press(Uint message);
  static bool is_release(Uint message);

  // The lParam of a pointer message.
  static Lparam point_param(int x, int y);

  // A window that exists and was not destroyed.
  bool live(Hwnd hwnd) const;
  // A live window that is shown.
  bool shown(Hwnd hwnd) const;
  // Whether a poll would hand out a message now.
  bool has_work() const;
  // Queues input for a window. A pointer movement replaces one queued just
  // before it for the same window with the same buttons, as the window
  // system merges movements: only the last position is ever read, and a
  // flood of movements takes no memory.
  void queue_message(const Msg& msg);

 private:
  struct Window {
    WndProc proc = nullptr;
    void* context = nullptr;
    bool visible = false;
    bool invalid = false;
    bool destroyed = false;
    Surface surface;
  };

  // What a backend adds. Called at the start of every poll, before the
  // windows are presented: the moment to queue new input.
  virtual void before_poll() {}
  // A poll handed out a queued message (not the quit request or a paint).
  virtual void took_queued_message() {}
  // Gives a window being created its place on the screen; false fails the
  // creation. Windows are opened in handle order.
  virtual bool open_window(const char* /*window_name*/, Dword /*style*/,
                           int /*x*/, int /*y*/, int /*width*/,
                           int /*height*/) {
    return true;
  }
  virtual void place_window(Hwnd /*hwnd*/, Hwnd /*insert_after*/, int /*x*/,
                            int /*y*/, int /*cx*/, int /*cy*/) {}
  // Told of every visibility the window is set to, repeated or not.
  virtual void set_window_visible(Hwnd /*hwnd*/, bool /*visible*/) {}
  virtual void present_if_changed(Hwnd hwnd, Surface& surface) = 0;
  // The time and pointer position stamped on messages posted or made up.
  virtual Dword message_time_ms() const = 0;
  virtual Point message_point() const = 0;

  Window* find(Hwnd hwnd);
  const Window* find(Hwnd hwnd) const;
  Lresult send(Hwnd hwnd, Uint message, Wparam wparam, Lparam lparam);
  void set_visible(Hwnd hwnd, Window& w, bool visible);

  Faults& faults_;
  SoftGdi& gdi_;
  Closing closing_;
  std::map<std::string, WndClassA> classes_;
  std::vector<std::unique_ptr<Window>> windows_;  // handle = index + 1
  std::deque<Msg> queue_;
  bool quit_pending_ = false;
  int quit_code_ = 0;
  bool hold_releases_ = false;
  // Since the last press was handed out: whether its release still waits,
  // the polls that came up empty, and when it was handed out.
  bool press_unseen_ = false;
  int statements_since_press_ = 0;
  Dword press_taken_ms_ = 0;
};

}  // namespace mowa::pf
