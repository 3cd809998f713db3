// The message queue of the program's windows: messages taken (a release
// held back until a statement has seen its press), the idle wait, and the
// window procedure that every window of the program shares.
#include <windowsx.h>

#include "platform/win32/win32_window.h"

namespace mowa::pf {
namespace {

// The idle wait wakes by itself this often all the same; it costs nothing
// measurable and keeps a lost wake-up from stalling the program.
constexpr DWORD kIdleWaitGuardMs = 500;
// A release waits until this many statements have run since its press, and
// this long: a press as short as a tap lasts as long as a brisk click.
constexpr int kStatementsSeeingPress = 8;
constexpr DWORD kShortestPress_ms = 50;

HWND real(Hwnd hwnd) { return reinterpret_cast<HWND>(hwnd); }
Hwnd ours(HWND hwnd) { return reinterpret_cast<Hwnd>(hwnd); }

void to_msg(const MSG& m, Msg* msg) {
  msg->hwnd = ours(m.hwnd);
  msg->message = m.message;
  msg->wParam = m.wParam;
  msg->lParam = m.lParam;
  msg->time = m.time;
  msg->pt = Point{m.pt.x, m.pt.y};
}

MSG from_msg(const Msg& msg) {
  MSG m{};
  m.hwnd = real(msg.hwnd);
  m.message = msg.message;
  m.wParam = msg.wParam;
  m.lParam = msg.lParam;
  m.time = msg.time;
  m.pt = POINT{msg.pt.x, msg.pt.y};
  return m;
}

bool is_pointer_message(UINT message) {
  return message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK;
}

bool is_press(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK ||
         message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK ||
         message == WM_MBUTTONDOWN || message == WM_MBUTTONDBLCLK;
}

bool is_release(UINT message) {
  return message == WM_LBUTTONUP || message == WM_RBUTTONUP ||
         message == WM_MBUTTONUP;
}

// The button flag (MK_*) a button message is about, 0 for other messages.
WPARAM button_of(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return MK_LBUTTON;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return MK_RBUTTON;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      return MK_MBUTTON;
    default:
      return 0;
  }
}

}  // namespace

Bool Win32Window::PeekMessageA(Msg* msg, Hwnd hwnd, Uint filter_min,
                               Uint filter_max, Uint remove) {
  MSG m{};
  // A press and its release often arrive together (a quick click, a tap),
  // yet the program reads the buttons only between statements, and a poll
  // that finds nothing is the moment a statement runs: the release waits as
  // long as a short press would last, and until a few statements have run,
  // so that a click-wait loop reads the press whatever statement it was on.
  if (press_unseen_ && statements_since_press_ >= kStatementsSeeingPress &&
      GetTickCount() - press_taken_ms_ >= kShortestPress_ms)
    press_unseen_ = false;
  const bool held =
      press_unseen_ &&
      ::PeekMessageW(&m, real(hwnd), filter_min, filter_max, PM_NOREMOVE) &&
      is_release(m.message);
  if (held || !::PeekMessageW(&m, real(hwnd), filter_min, filter_max, remove)) {
    if (press_unseen_) ++statements_since_press_;
    return kFalse;
  }
  if ((remove & PM_REMOVE) && is_press(m.message)) {
    press_unseen_ = true;
    statements_since_press_ = 0;
    press_taken_ms_ = GetTickCount();
  }
  if (msg) to_msg(m, msg);
  return kTrue;
}

Bool Win32Window::TranslateMessage(const Msg* msg) {
  if (!msg) return kFalse;
  const MSG m = from_msg(*msg);
  return ::TranslateMessage(&m);
}

Lresult Win32Window::DispatchMessageA(const Msg* msg) {
  if (!msg) return 0;
  const MSG m = from_msg(*msg);
  return ::DispatchMessageW(&m);
}

Bool Win32Window::PostMessageA(Hwnd hwnd, Uint message, Wparam wparam,
                               Lparam lparam) {
  return ::PostMessageW(real(hwnd), message, wparam, lparam);
}

void Win32Window::PostQuitMessage(int exit_code) {
  ::PostQuitMessage(exit_code);
}

Lresult Win32Window::DefWindowProcA(Hwnd hwnd, Uint message, Wparam wparam,
                                    Lparam lparam) {
  return ::DefWindowProcW(real(hwnd), message, wparam, lparam);
}

void Win32Window::wait_for_input() {
  // Sleeps while a scenario polls an unchanged mouse until a message comes:
  // input, a paint, or the notification of a sequence played to its end.
  // A message already in the queue, seen or not, returns at once.
  MsgWaitForMultipleObjectsEx(0, nullptr, kIdleWaitGuardMs, QS_ALLINPUT,
                              MWMO_INPUTAVAILABLE);
}

void Win32Window::release_lost_buttons(HWND hwnd) {
  static constexpr struct {
    WPARAM flag;
    int key;
    UINT release;
  } kButtons[] = {{MK_LBUTTON, VK_LBUTTON, WM_LBUTTONUP},
                  {MK_RBUTTON, VK_RBUTTON, WM_RBUTTONUP},
                  {MK_MBUTTON, VK_MBUTTON, WM_MBUTTONUP}};
  for (const auto& b : kButtons) {
    if (!(buttons_down_ & b.flag) || (GetAsyncKeyState(b.key) & 0x8000))
      continue;
    buttons_down_ &= ~b.flag;
    ::PostMessageW(hwnd, b.release, buttons_down_, 0);
  }
}

LRESULT CALLBACK Win32Window::thunk(HWND hwnd, UINT message, WPARAM wparam,
                                    LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* w = static_cast<Window*>(create->lpCreateParams);
    w->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
  }
  auto* w = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!w || !w->cls.proc) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (const WPARAM button = button_of(message)) {
    if (is_release(message)) {
      w->owner->buttons_down_ &= ~button;
    } else {
      w->owner->buttons_down_ |= button;
      w->owner->reader_clicked(*w);
    }
  }
  switch (message) {
    case WM_ENABLE:
      if (wparam) w->owner->release_lost_buttons(hwnd);
      break;
    case WM_KEYDOWN:
      if (w->owner->reader_key(*w, wparam, (lparam & (1L << 30)) != 0))
        return 0;
      break;
    case WM_TIMER:
      if (w->owner->note_timer(*w, wparam)) return 0;
      break;
    case WM_SYSKEYDOWN:
      // F10 comes as a system key: it would open the (absent) menu.
      if (wparam == VK_F10 &&
          w->owner->reader_key(*w, wparam, (lparam & (1L << 30)) != 0))
        return 0;
      if (wparam == VK_RETURN && (lparam & (1L << 29))) {
        w->owner->toggled_ = !w->owner->toggled_;
        if (w->placed) w->owner->place(*w);
        return 0;
      }
      break;
    case WM_SYSCHAR:
      if (wparam == '\r') return 0;  // no beep for Alt+Enter
      break;
    case WM_SYSCOMMAND:
      // The window has no menu: Alt alone must not open a menu loop that
      // would take the next key, Escape included.
      if ((wparam & 0xFFF0) == SC_KEYMENU) return 0;
      break;
    case WM_ERASEBKGND:
      return 1;  // every present paints the whole client, bars included
    case WM_SIZE:
      ::InvalidateRect(hwnd, nullptr, FALSE);
      w->owner->music_minimised(*w, wparam == SIZE_MINIMIZED);
      break;
    default:
      if (is_pointer_message(message))
        lparam = w->owner->to_picture(*w, lparam);
      break;
  }
  return static_cast<LRESULT>(
      w->cls.proc(w->cls.context, ours(hwnd), message, wparam, lparam));
}

}  // namespace mowa::pf
