#include "platform/sdl/sdl_window.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "platform/common/cp932.h"
#include "platform/sdl/sdl_sound.h"

namespace mowa::pf {
namespace {

// How long one idle step of a polling scenario may wait for input: 1 ms
// after anything happened, doubling while the scenario keeps polling in vain.
// SDL wakes up at once when input arrives, so the wait only bounds how late
// other work (an ended sound) is noticed; each wake-up costs a few dozen
// microseconds of asking the display, which the longer waits save.
constexpr int kFirstIdleWait_ms = 1;
constexpr int kLongestIdleWait_ms = 8;
// Asking the display for events costs a few system calls; a scenario runs a
// statement per poll, so polls between two asks reuse what SDL holds. Input
// is still taken within this time.
constexpr auto kPumpInterval = std::chrono::microseconds(500);

}  // namespace

SdlWindow::SdlWindow(Faults& faults, SoftGdi& gdi)
    : faults_(faults), gdi_(gdi), idle_wait_ms_(kFirstIdleWait_ms) {}

SdlWindow::~SdlWindow() = default;

void SdlWindow::pump_sound() {
  if (sound_) sound_->pump();
}

SdlWindow::Window* SdlWindow::find(Hwnd hwnd) {
  const auto index = reinterpret_cast<std::uintptr_t>(hwnd);
  if (index == 0 || index > windows_.size()) return nullptr;
  return windows_[index - 1].get();
}

Hwnd SdlWindow::main_window() const {
  return windows_.empty() ? nullptr : reinterpret_cast<Hwnd>(std::uintptr_t{1});
}

Hwnd SdlWindow::handle_of_sdl_window(std::uint32_t sdl_window_id) const {
  for (std::size_t i = 0; i < windows_.size(); ++i)
    if (windows_[i]->view && windows_[i]->view->id() == sdl_window_id)
      return reinterpret_cast<Hwnd>(i + 1);
  return nullptr;
}

Surface* SdlWindow::surface(Hwnd hwnd) {
  Window* w = find(hwnd);
  return w ? &w->surface : nullptr;
}

SdlView* SdlWindow::shown_view(Hwnd hwnd) {
  Window* w = find(hwnd);
  return w && w->visible && !w->destroyed ? w->view.get() : nullptr;
}

void SdlWindow::present_if_changed(Window& w) {
  if (!w.surface.changed) return;
  w.surface.changed = false;
  if (w.view) w.view->present(w.surface);
}

void SdlWindow::present_all() {
  for (auto& w : windows_) present_if_changed(*w);
}

Lresult SdlWindow::send(Hwnd hwnd, Uint message, Wparam wparam,
                        Lparam lparam) {
  Window* w = find(hwnd);
  if (!w || !w->proc) return 0;
  return w->proc(w->context, hwnd, message, wparam, lparam);
}

void SdlWindow::set_visible(Window& w, bool visible) {
  w.visible = visible;
  if (!w.view) return;
  if (visible) {
    w.view->show();
    w.view->focus();
  } else {
    w.view->hide();
  }
}

void SdlWindow::set_display_fullscreen(bool fullscreen) {
  fullscreen_ = fullscreen;
  if (Window* w = find(main_window())) {
    if (w->view) w->view->set_fullscreen(fullscreen);
  }
}

Word SdlWindow::RegisterClassA(const WndClassA* wc) {
  if (faults_.fail("RegisterClassA") || !wc || !wc->lpszClassName ||
      !wc->lpfnWndProc)
    return 0;
  if (classes_.count(wc->lpszClassName)) return 0;
  classes_[wc->lpszClassName] = *wc;
  return static_cast<Word>(0xC000 + classes_.size());
}

Hwnd SdlWindow::CreateWindowExA(Dword /*ex_style*/, const char* class_name,
                                const char* window_name, Dword style, int x,
                                int y, int width, int height, Hwnd /*parent*/) {
  if (faults_.fail("CreateWindowExA") || !class_name) return nullptr;
  const auto it = classes_.find(class_name);
  if (it == classes_.end()) return nullptr;
  auto w = std::make_unique<Window>();
  w->proc = it->second.lpfnWndProc;
  w->context = it->second.context;
  w->surface.width = std::clamp(width, 0, Surface::kMaxWidth);
  w->surface.height = std::clamp(height, 0, Surface::kMaxHeight);
  SdlView::Options o;
  o.title_utf8 = cp932_to_utf8(window_name ? window_name : "");
  o.x = x;
  o.y = y;
  o.width = width;
  o.height = height;
  o.borderless = (style & WS_POPUP) != 0;
  o.high_dpi = true;
  std::string error;
  w->view = SdlView::create(o, error);
  if (!w->view) {
    std::fprintf(stderr, "mowa: cannot open a window: %s\n", error.c_str());
    return nullptr;
  }
  windows_.push_back(std::move(w));
  if (windows_.size() == 1 && fullscreen_)
    windows_.front()->view->set_fullscreen(true);
  return reinterpret_cast<Hwnd>(static_cast<std::uintptr_t>(windows_.size()));
}

Bool SdlWindow::SetWindowPos(Hwnd hwnd, Hwnd insert_after, int x, int y,
                             int cx, int cy, Uint flags) {
  if (faults_.fail("SetWindowPos")) return kFalse;
  Window* w = find(hwnd);
  if (!w) return kFalse;
  w->surface.width = std::clamp(cx, 0, Surface::kMaxWidth);
  w->surface.height = std::clamp(cy, 0, Surface::kMaxHeight);
  if (w->view) {
    w->view->move_resize(x, y, cx, cy);
    if (insert_after == HWND_TOPMOST) w->view->set_on_top(true);
  }
  if (flags & SWP_SHOWWINDOW) set_visible(*w, true);
  return kTrue;
}

Bool SdlWindow::ShowWindow(Hwnd hwnd, int cmd_show) {
  Window* w = find(hwnd);
  if (!w) return kFalse;
  const bool was_visible = w->visible;
  if ((cmd_show != 0) != was_visible) set_visible(*w, cmd_show != 0);
  if (w->visible && !was_visible) w->invalid = true;
  return was_visible ? kTrue : kFalse;
}

bool SdlWindow::has_work() const {
  if (!queue_.empty() || quit_pending_) return true;
  return std::any_of(windows_.begin(), windows_.end(), [](const auto& w) {
    return w->invalid && !w->destroyed;
  });
}

Bool SdlWindow::PeekMessageA(Msg* msg, Hwnd /*hwnd*/, Uint /*filter_min*/,
                             Uint /*filter_max*/, Uint remove) {
  pump_sound();
  if (std::chrono::steady_clock::now() - last_pump_ >= kPumpInterval)
    translate_pending();
  else
    translate_held();
  present_all();
  if (!queue_.empty()) {
    *msg = queue_.front();
    if (remove & PM_REMOVE) queue_.pop_front();
    idle_wait_ms_ = kFirstIdleWait_ms;
    return kTrue;
  }
  if (quit_pending_) {
    *msg = Msg{nullptr, WM_QUIT, static_cast<Wparam>(quit_code_), 0,
               SDL_GetTicks(), {pointer_x_, pointer_y_}};
    if (remove & PM_REMOVE) quit_pending_ = false;
    return kTrue;
  }
  for (std::size_t i = 0; i < windows_.size(); ++i) {
    if (windows_[i]->invalid && !windows_[i]->destroyed) {
      *msg = Msg{reinterpret_cast<Hwnd>(i + 1), WM_PAINT, 0, 0, SDL_GetTicks(),
                 {pointer_x_, pointer_y_}};
      return kTrue;
    }
  }
  return kFalse;
}

void SdlWindow::idle_hint() {
  pump_sound();
  if (has_work()) return;
  // Returns as soon as SDL has an event, which stays queued for the next
  // poll; so a click is handled as quickly as without the wait.
  SDL_WaitEventTimeout(nullptr, idle_wait_ms_);
  last_pump_ = std::chrono::steady_clock::now();  // the wait asked the display
  idle_wait_ms_ = std::min(idle_wait_ms_ * 2, kLongestIdleWait_ms);
}

void SdlWindow::sleep_ms(Dword delay_ms) {
  present_all();
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(delay_ms);
  for (;;) {
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) break;
    const auto left_ms =
        std::chrono::ceil<std::chrono::milliseconds>(left).count();
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, static_cast<int>(left_ms)))
      translate(event, true);
  }
}

Bool SdlWindow::TranslateMessage(const Msg* /*msg*/) { return kFalse; }

Lresult SdlWindow::DispatchMessageA(const Msg* msg) {
  if (!msg) return 0;
  return send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

Bool SdlWindow::PostMessageA(Hwnd hwnd, Uint message, Wparam wparam,
                             Lparam lparam) {
  if (faults_.fail("PostMessageA")) return kFalse;
  const Window* w = find(hwnd);
  if (!w || w->destroyed) return kFalse;
  queue_.push_back(Msg{hwnd, message, wparam, lparam, SDL_GetTicks(),
                       {pointer_x_, pointer_y_}});
  return kTrue;
}

void SdlWindow::PostQuitMessage(int exit_code) {
  quit_pending_ = true;
  quit_code_ = exit_code;
}

Lresult SdlWindow::DefWindowProcA(Hwnd hwnd, Uint message, Wparam /*wparam*/,
                                  Lparam /*lparam*/) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (message == WM_CLOSE && !w->destroyed) {
    // The default handling of a close request destroys the window: it
    // vanishes first, then hears of it.
    set_visible(*w, false);
    w->destroyed = true;
    // A destroyed window's queued messages go with it.
    std::erase_if(queue_, [hwnd](const Msg& m) { return m.hwnd == hwnd; });
    send(hwnd, WM_DESTROY, 0, 0);
  } else if (message == WM_PAINT) {
    PaintStruct ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
  }
  return 0;
}

Bool SdlWindow::InvalidateRect(Hwnd hwnd, const Rect* /*rect*/,
                               Bool /*erase*/) {
  if (faults_.fail("InvalidateRect")) return kFalse;
  Window* w = find(hwnd);
  if (!w) return kFalse;
  w->invalid = true;
  return kTrue;
}

Bool SdlWindow::UpdateWindow(Hwnd hwnd) {
  if (faults_.fail("UpdateWindow")) return kFalse;
  Window* w = find(hwnd);
  if (!w) return kFalse;
  if (w->invalid && !w->destroyed) send(hwnd, WM_PAINT, 0, 0);
  return kTrue;
}

Hdc SdlWindow::BeginPaint(Hwnd hwnd, PaintStruct* ps) {
  if (faults_.fail("BeginPaint")) return nullptr;
  Window* w = find(hwnd);
  if (!w || !ps) return nullptr;
  w->invalid = false;
  ps->hdc = gdi_.open_dc(&w->surface);
  ps->fErase = kFalse;
  ps->rcPaint = Rect{0, 0, w->surface.width, w->surface.height};
  return ps->hdc;
}

Bool SdlWindow::EndPaint(Hwnd hwnd, const PaintStruct* ps) {
  Window* w = find(hwnd);
  if (!w || !ps) return kFalse;
  gdi_.close_dc(ps->hdc);
  present_if_changed(*w);
  return kTrue;
}

Hdc SdlWindow::GetDC(Hwnd hwnd) {
  if (faults_.fail("GetDC")) return nullptr;
  if (!hwnd) return gdi_.open_dc(nullptr);
  Window* w = find(hwnd);
  if (!w) return nullptr;
  return gdi_.open_dc(&w->surface);
}

int SdlWindow::ReleaseDC(Hwnd hwnd, Hdc hdc) {
  if (!gdi_.is_dc(hdc)) return 0;
  gdi_.close_dc(hdc);
  if (Window* w = find(hwnd)) present_if_changed(*w);
  return faults_.fail("ReleaseDC") ? 0 : 1;
}

void SdlWindow::pump_for_box(Hwnd owner) {
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
