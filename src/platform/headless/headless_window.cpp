#include "platform/headless/headless_window.h"

#include <algorithm>

namespace mowa::pf {
namespace {

Lparam point_param(int x, int y) {
  return static_cast<Lparam>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                             static_cast<std::uint32_t>(x & 0xFFFF));
}

}  // namespace

HeadlessWindow::HeadlessWindow(Faults& faults, EventLog& log, SoftGdi& gdi,
                               Presenter& presenter)
    : faults_(faults), log_(log), gdi_(gdi), presenter_(presenter) {}

void HeadlessWindow::set_input(std::vector<InputEvent> events) {
  input_ = std::move(events);
  next_input_ = 0;
}

HeadlessWindow::Window* HeadlessWindow::find(Hwnd hwnd) {
  const auto index = reinterpret_cast<std::uintptr_t>(hwnd);
  if (index == 0 || index > windows_.size()) return nullptr;
  return windows_[index - 1].get();
}

Hwnd HeadlessWindow::main_window() const {
  return windows_.empty() ? nullptr : reinterpret_cast<Hwnd>(std::uintptr_t{1});
}

Surface* HeadlessWindow::surface(Hwnd hwnd) {
  Window* w = find(hwnd);
  return w ? &w->surface : nullptr;
}

void HeadlessWindow::present_all() {
  for (auto& w : windows_) presenter_.present_if_changed(w->surface);
}

Lresult HeadlessWindow::send(Hwnd hwnd, Uint message, Wparam wparam,
                             Lparam lparam) {
  Window* w = find(hwnd);
  if (!w || !w->proc) return 0;
  return w->proc(w->context, hwnd, message, wparam, lparam);
}

Word HeadlessWindow::RegisterClassA(const WndClassA* wc) {
  if (faults_.fail("RegisterClassA") || !wc || !wc->lpszClassName ||
      !wc->lpfnWndProc)
    return 0;
  if (classes_.count(wc->lpszClassName)) return 0;
  classes_[wc->lpszClassName] = *wc;
  return static_cast<Word>(0xC000 + classes_.size());
}

Hwnd HeadlessWindow::CreateWindowExA(Dword /*ex_style*/, const char* class_name,
                                     const char* window_name, Dword /*style*/,
                                     int x, int y, int width, int height,
                                     Hwnd /*parent*/) {
  if (faults_.fail("CreateWindowExA") || !class_name) return nullptr;
  const auto it = classes_.find(class_name);
  if (it == classes_.end()) return nullptr;
  auto w = std::make_unique<Window>();
  w->proc = it->second.lpfnWndProc;
  w->context = it->second.context;
  w->title = window_name ? window_name : "";
  w->x = x;
  w->y = y;
  w->surface.width = std::clamp(width, 0, Surface::kMaxWidth);
  w->surface.height = std::clamp(height, 0, Surface::kMaxHeight);
  windows_.push_back(std::move(w));
  return reinterpret_cast<Hwnd>(static_cast<std::uintptr_t>(windows_.size()));
}

Bool HeadlessWindow::SetWindowPos(Hwnd hwnd, Hwnd /*insert_after*/, int x,
                                  int y, int cx, int cy, Uint flags) {
  if (faults_.fail("SetWindowPos")) return kFalse;
  Window* w = find(hwnd);
  if (!w) return kFalse;
  w->x = x;
  w->y = y;
  w->surface.width = std::clamp(cx, 0, Surface::kMaxWidth);
  w->surface.height = std::clamp(cy, 0, Surface::kMaxHeight);
  if (flags & SWP_SHOWWINDOW) w->visible = true;
  return kTrue;
}

Bool HeadlessWindow::ShowWindow(Hwnd hwnd, int cmd_show) {
  Window* w = find(hwnd);
  if (!w) return kFalse;
  const bool was_visible = w->visible;
  w->visible = cmd_show != 0;
  if (w->visible && !was_visible) w->invalid = true;
  return was_visible ? kTrue : kFalse;
}

void HeadlessWindow::queue_due_input() {
  const Hwnd main = main_window();
  while (next_input_ < input_.size() && input_[next_input_].step <= log_.steps) {
    const InputEvent& ev = input_[next_input_++];
    if (!main) continue;
    Msg m{main, WM_NULL, 0, 0, 0, {pointer_x_, pointer_y_}};
    switch (ev.kind) {
      case InputEvent::Kind::kMove:
        pointer_x_ = ev.x;
        pointer_y_ = ev.y;
        m.message = WM_MOUSEMOVE;
        break;
      case InputEvent::Kind::kLeftDown:
        buttons_ |= MK_LBUTTON;
        m.message = WM_LBUTTONDOWN;
        break;
      case InputEvent::Kind::kLeftUp:
        buttons_ &= ~MK_LBUTTON;
        m.message = WM_LBUTTONUP;
        break;
      case InputEvent::Kind::kLeftDouble:
        buttons_ |= MK_LBUTTON;
        m.message = WM_LBUTTONDBLCLK;
        break;
      case InputEvent::Kind::kRightDown:
        buttons_ |= MK_RBUTTON;
        m.message = WM_RBUTTONDOWN;
        break;
      case InputEvent::Kind::kRightUp:
        buttons_ &= ~MK_RBUTTON;
        m.message = WM_RBUTTONUP;
        break;
      case InputEvent::Kind::kRightDouble:
        buttons_ |= MK_RBUTTON;
        m.message = WM_RBUTTONDBLCLK;
        break;
      case InputEvent::Kind::kKey:
        m.message = WM_KEYDOWN;
        m.wParam = static_cast<Wparam>(ev.key);
        break;
      case InputEvent::Kind::kClose:
        m.message = WM_CLOSE;
        break;
    }
    if (m.message >= WM_MOUSEMOVE && m.message <= WM_RBUTTONDBLCLK) {
      m.wParam = buttons_;
      m.lParam = point_param(pointer_x_, pointer_y_);
    }
    m.time = static_cast<Dword>(log_.now_ms);
    queue_.push_back(m);
  }
}

Bool HeadlessWindow::PeekMessageA(Msg* msg, Hwnd /*hwnd*/, Uint /*filter_min*/,
                                  Uint /*filter_max*/, Uint remove) {
  if (in_idle_step_) {
    ++log_.steps;
    in_idle_step_ = false;
  }
  queue_due_input();
  present_all();
  if (!queue_.empty()) {
    *msg = queue_.front();
    if (remove & PM_REMOVE) queue_.pop_front();
    return kTrue;
  }
  if (quit_pending_) {
    *msg = Msg{nullptr, WM_QUIT, static_cast<Wparam>(quit_code_), 0,
               static_cast<Dword>(log_.now_ms), {0, 0}};
    if (remove & PM_REMOVE) quit_pending_ = false;
    return kTrue;
  }
  for (std::size_t i = 0; i < windows_.size(); ++i) {
    if (windows_[i]->invalid && !windows_[i]->destroyed) {
      *msg = Msg{reinterpret_cast<Hwnd>(i + 1), WM_PAINT, 0, 0,
                 static_cast<Dword>(log_.now_ms), {0, 0}};
      return kTrue;
    }
  }
  // The caller is about to make an idle step.
  if (log_.steps >= max_steps_) throw StepLimitReached{log_.steps};
  in_idle_step_ = true;
  return kFalse;
}

Bool HeadlessWindow::TranslateMessage(const Msg* /*msg*/) { return kFalse; }

Lresult HeadlessWindow::DispatchMessageA(const Msg* msg) {
  if (!msg) return 0;
  return send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

Bool HeadlessWindow::PostMessageA(Hwnd hwnd, Uint message, Wparam wparam,
                                  Lparam lparam) {
  if (faults_.fail("PostMessageA") || !find(hwnd)) return kFalse;
  queue_.push_back(Msg{hwnd, message, wparam, lparam,
                       static_cast<Dword>(log_.now_ms), {0, 0}});
  return kTrue;
}

void HeadlessWindow::PostQuitMessage(int exit_code) {
  quit_pending_ = true;
  quit_code_ = exit_code;
}

Lresult HeadlessWindow::DefWindowProcA(Hwnd hwnd, Uint message,
                                       Wparam /*wparam*/, Lparam /*lparam*/) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (message == WM_CLOSE && !w->destroyed) {
    // The default handling of a close request destroys the window.
    send(hwnd, WM_DESTROY, 0, 0);
    w->destroyed = true;
    w->visible = false;
  } else if (message == WM_PAINT) {
    PaintStruct ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
  }
  return 0;
}

Bool HeadlessWindow::InvalidateRect(Hwnd hwnd, const Rect* /*rect*/,
                                    Bool /*erase*/) {
  if (faults_.fail("InvalidateRect")) return kFalse;
  Window* w = find(hwnd);
  if (!w) return kFalse;
  w->invalid = true;
  return kTrue;
}

Bool HeadlessWindow::UpdateWindow(Hwnd hwnd) {
  if (faults_.fail("UpdateWindow")) return kFalse;
  Window* w = find(hwnd);
  if (!w) return kFalse;
  if (w->invalid && !w->destroyed) send(hwnd, WM_PAINT, 0, 0);
  return kTrue;
}

Hdc HeadlessWindow::BeginPaint(Hwnd hwnd, PaintStruct* ps) {
  if (faults_.fail("BeginPaint")) return nullptr;
  Window* w = find(hwnd);
  if (!w || !ps) return nullptr;
  w->invalid = false;
  ps->hdc = gdi_.open_dc(&w->surface);
  ps->fErase = kFalse;
  ps->rcPaint = Rect{0, 0, w->surface.width, w->surface.height};
  return ps->hdc;
}

Bool HeadlessWindow::EndPaint(Hwnd hwnd, const PaintStruct* ps) {
  Window* w = find(hwnd);
  if (!w || !ps) return kFalse;
  gdi_.close_dc(ps->hdc);
  presenter_.present_if_changed(w->surface);
  return kTrue;
}

Hdc HeadlessWindow::GetDC(Hwnd hwnd) {
  if (faults_.fail("GetDC")) return nullptr;
  if (!hwnd) return gdi_.open_dc(nullptr);
  Window* w = find(hwnd);
  if (!w) return nullptr;
  return gdi_.open_dc(&w->surface);
}

int HeadlessWindow::ReleaseDC(Hwnd hwnd, Hdc hdc) {
  if (!gdi_.is_dc(hdc)) return 0;
  gdi_.close_dc(hdc);
  if (Window* w = find(hwnd)) presenter_.present_if_changed(w->surface);
  return faults_.fail("ReleaseDC") ? 0 : 1;
}

void HeadlessWindow::pump_for_box(Hwnd owner) {
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
