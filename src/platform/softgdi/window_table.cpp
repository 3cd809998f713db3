#include "platform/softgdi/window_table.h"

#include <algorithm>

namespace mowa::pf {
namespace {

// A release waits until this many statements have run since its press, and
// this long: a press as short as a tap lasts as long as a brisk click.
constexpr int kStatementsSeeingPress = 8;
constexpr Dword kShortestPress_ms = 50;

Hwnd handle_of(std::size_t index) {
  return reinterpret_cast<Hwnd>(static_cast<std::uintptr_t>(index + 1));
}

}  // namespace

WindowTable::WindowTable(Faults& faults, SoftGdi& gdi, Closing closing)
    : faults_(faults), gdi_(gdi), closing_(closing) {}

Lparam WindowTable::point_param(int x, int y) {
  return static_cast<Lparam>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                             static_cast<std::uint32_t>(x & 0xFFFF));
}

WindowTable::Window* WindowTable::find(Hwnd hwnd) {
  const auto index = reinterpret_cast<std::uintptr_t>(hwnd);
  if (index == 0 || index > windows_.size()) return nullptr;
  return windows_[index - 1].get();
}

const WindowTable::Window* WindowTable::find(Hwnd hwnd) const {
  return const_cast<WindowTable*>(this)->find(hwnd);
}

bool WindowTable::is_press(Uint message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

bool WindowTable::is_release(Uint message) {
  return message == WM_LBUTTONUP || message == WM_RBUTTONUP ||
         message == WM_MBUTTONUP;
}

Hwnd WindowTable::main_window() const {
  return windows_.empty() ? nullptr : handle_of(0);
}

Surface* WindowTable::surface(Hwnd hwnd) {
  Window* w = find(hwnd);
  return w ? &w->surface : nullptr;
}

bool WindowTable::live(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  return w && !w->destroyed;
}

bool WindowTable::shown(Hwnd hwnd) const {
  const Window* w = find(hwnd);
  return w && w->visible && !w->destroyed;
}

bool WindowTable::has_work() const {
  if (!queue_.empty() || quit_pending_) return true;
  return std::any_of(windows_.begin(), windows_.end(),
                     [](const auto& w) { return w->invalid && !w->destroyed; });
}

void WindowTable::queue_message(const Msg& msg) {
  if (msg.message == WM_MOUSEMOVE && !queue_.empty()) {
    Msg& last = queue_.back();
    if (last.message == WM_MOUSEMOVE && last.hwnd == msg.hwnd &&
        last.wParam == msg.wParam) {
      last = msg;
      return;
    }
  }
  queue_.push_back(msg);
}

void WindowTable::present_all() {
  for (std::size_t i = 0; i < windows_.size(); ++i)
    present_if_changed(handle_of(i), windows_[i]->surface);
}

Lresult WindowTable::send(Hwnd hwnd, Uint message, Wparam wparam,
                          Lparam lparam) {
  Window* w = find(hwnd);
  if (!w || !w->proc) return 0;
  return w->proc(w->context, hwnd, message, wparam, lparam);
}

void WindowTable::set_visible(Hwnd hwnd, Window& w, bool visible) {
  w.visible = visible;
  set_window_visible(hwnd, visible);
}

Word WindowTable::RegisterClassA(const WndClassA* wc) {
  if (faults_.fail("RegisterClassA") || !wc || !wc->lpszClassName ||
      !wc->lpfnWndProc)
    return 0;
  if (classes_.count(wc->lpszClassName)) return 0;
  classes_[wc->lpszClassName] = *wc;
  return static_cast<Word>(0xC000 + classes_.size());
}

Hwnd WindowTable::CreateWindowExA(Dword /*ex_style*/, const char* class_name,
                                  const char* window_name, Dword style, int x,
                                  int y, int width, int height,
                                  Hwnd /*parent*/) {
  if (faults_.fail("CreateWindowExA") || !class_name) return nullptr;
  const auto it = classes_.find(class_name);
  if (it == classes_.end()) return nullptr;
  if (!open_window(window_name, style, x, y, width, height)) return nullptr;
  auto w = std::make_unique<Window>();
  w->proc = it->second.lpfnWndProc;
  w->context = it->second.context;
  w->surface.resize(width, height);
  windows_.push_back(std::move(w));
  return handle_of(windows_.size() - 1);
}

Bool WindowTable::SetWindowPos(Hwnd hwnd, Hwnd insert_after, int x, int y,
                               int cx, int cy, Uint flags) {
  if (faults_.fail("SetWindowPos")) return kFalse;
  Window* w = find(hwnd);
  if (!w) return kFalse;
  w->surface.resize(cx, cy);
  place_window(hwnd, insert_after, x, y, cx, cy);
  if (flags & SWP_SHOWWINDOW) set_visible(hwnd, *w, true);
  return kTrue;
}

Bool WindowTable::ShowWindow(Hwnd hwnd, int cmd_show) {
  Window* w = find(hwnd);
  if (!w) return kFalse;
  const bool was_visible = w->visible;
  if ((cmd_show != 0) != was_visible) set_visible(hwnd, *w, cmd_show != 0);
  if (w->visible && !was_visible) w->invalid = true;
  return was_visible ? kTrue : kFalse;
}

Bool WindowTable::PeekMessageA(Msg* msg, Hwnd /*hwnd*/, Uint /*filter_min*/,
                               Uint /*filter_max*/, Uint remove) {
  before_poll();
  present_all();
  if (press_unseen_ && statements_since_press_ >= kStatementsSeeingPress &&
      message_time_ms() - press_taken_ms_ >= kShortestPress_ms)
    press_unseen_ = false;
  const bool held =
      press_unseen_ && !queue_.empty() && is_release(queue_.front().message);
  if (!queue_.empty() && !held) {
    *msg = queue_.front();
    if (remove & PM_REMOVE) {
      queue_.pop_front();
      if (hold_releases_ && is_press(msg->message)) {
        press_unseen_ = true;
        statements_since_press_ = 0;
        press_taken_ms_ = message_time_ms();
      }
    }
    took_queued_message();
    return kTrue;
  }
  if (quit_pending_) {
    *msg = Msg{nullptr, WM_QUIT,           static_cast<Wparam>(quit_code_),
               0,       message_time_ms(), message_point()};
    if (remove & PM_REMOVE) quit_pending_ = false;
    return kTrue;
  }
  for (std::size_t i = 0; i < windows_.size(); ++i) {
    if (windows_[i]->invalid && !windows_[i]->destroyed) {
      *msg =
          Msg{handle_of(i), WM_PAINT, 0, 0, message_time_ms(), message_point()};
      return kTrue;
    }
  }
  // The caller runs a statement now.
  if (press_unseen_) ++statements_since_press_;
  return kFalse;
}

Bool WindowTable::TranslateMessage(const Msg* /*msg*/) { return kFalse; }

Lresult WindowTable::DispatchMessageA(const Msg* msg) {
  if (!msg) return 0;
  return send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

Bool WindowTable::PostMessageA(Hwnd hwnd, Uint message, Wparam wparam,
                               Lparam lparam) {
  if (faults_.fail("PostMessageA")) return kFalse;
  const Window* w = find(hwnd);
  if (!w || (w->destroyed && closing_ == Closing::kVanishFirst)) return kFalse;
  queue_.push_back(
      Msg{hwnd, message, wparam, lparam, message_time_ms(), message_point()});
  return kTrue;
}

void WindowTable::PostQuitMessage(int exit_code) {
  quit_pending_ = true;
  quit_code_ = exit_code;
}

Lresult WindowTable::DefWindowProcA(Hwnd hwnd, Uint message, Wparam /*wparam*/,
                                    Lparam /*lparam*/) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (message == WM_CLOSE && !w->destroyed) {
    // The default handling of a close request destroys the window.
    if (closing_ == Closing::kVanishFirst) {
      set_visible(hwnd, *w, false);
      w->destroyed = true;
      std::erase_if(queue_, [hwnd](const Msg& m) { return m.hwnd == hwnd; });
      send(hwnd, WM_DESTROY, 0, 0);
    } else {
      send(hwnd, WM_DESTROY, 0, 0);
      w->destroyed = true;
      set_visible(hwnd, *w, false);
    }
  } else if (message == WM_PAINT) {
    PaintStruct ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
  }
  return 0;
}

Bool WindowTable::InvalidateRect(Hwnd hwnd, const Rect* /*rect*/,
                                 Bool /*erase*/) {
  if (faults_.fail("InvalidateRect")) return kFalse;
  Window* w = find(hwnd);
  if (!w) return kFalse;
  w->invalid = true;
  return kTrue;
}

Bool WindowTable::UpdateWindow(Hwnd hwnd) {
  if (faults_.fail("UpdateWindow")) return kFalse;
  Window* w = find(hwnd);
  if (!w) return kFalse;
  if (w->invalid && !w->destroyed) send(hwnd, WM_PAINT, 0, 0);
  return kTrue;
}

Hdc WindowTable::BeginPaint(Hwnd hwnd, PaintStruct* ps) {
  if (faults_.fail("BeginPaint")) return nullptr;
  Window* w = find(hwnd);
  if (!w || !ps) return nullptr;
  w->invalid = false;
  ps->hdc = gdi_.open_dc(&w->surface);
  ps->fErase = kFalse;
  ps->rcPaint = Rect{0, 0, w->surface.width(), w->surface.height()};
  return ps->hdc;
}

Bool WindowTable::EndPaint(Hwnd hwnd, const PaintStruct* ps) {
  Window* w = find(hwnd);
  if (!w || !ps) return kFalse;
  gdi_.close_dc(ps->hdc);
  present_if_changed(hwnd, w->surface);
  return kTrue;
}

Hdc WindowTable::GetDC(Hwnd hwnd) {
  if (faults_.fail("GetDC")) return nullptr;
  if (!hwnd) return gdi_.open_dc(nullptr);
  Window* w = find(hwnd);
  if (!w) return nullptr;
  return gdi_.open_dc(&w->surface);
}

int WindowTable::ReleaseDC(Hwnd hwnd, Hdc hdc) {
  if (!gdi_.is_dc(hdc)) return 0;
  gdi_.close_dc(hdc);
  if (Window* w = find(hwnd)) present_if_changed(hwnd, w->surface);
  return faults_.fail("ReleaseDC") ? 0 : 1;
}

void WindowTable::pump_for_box(Hwnd owner) {
  Window* w = find(owner);
  if (!w) return;
  if (w->invalid && !w->destroyed) send(owner, WM_PAINT, 0, 0);
  std::vector<Msg> notifications;
  for (auto it = queue_.begin(); it != queue_.end();) {
    if (it->hwnd == owner && it->message == MM_MCINOTIFY) {
      notifications.push_back(*it);
      it = queue_.erase(it);
    } else {
      ++it;
    }
  }
  for (const Msg& m : notifications)
    send(m.hwnd, m.message, m.wParam, m.lParam);
}

}  // namespace mowa::pf
