#include "platform/sdl/sdl_window.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/cp932.h"
#include "platform/sdl/outside_requests.h"
#include "platform/sdl/sdl_sound.h"
#include "platform/softgdi/font_raster.h"

namespace mowa::pf {
namespace {

// Asking the display for events costs a few system calls; a scenario runs a
// statement per poll, so polls between two asks reuse what SDL holds. Input
// is still taken within this time.
constexpr auto kPumpInterval = std::chrono::microseconds(500);
// A long sleep looks this often whether a signal came from outside.
constexpr long long kSleepSlice_ms = 50;
// Fast-forward sleeps a tenth of the time.
constexpr int kFastForwardSpeed = 10;

}  // namespace

SdlWindow::SdlWindow(Faults& faults, SoftGdi& gdi)
    : WindowTable(faults, gdi, Closing::kVanishFirst) {
  hold_releases();
  load_reader_settings();
}

SdlWindow::~SdlWindow() = default;

void SdlWindow::pump_sound() {
  if (sound_) sound_->pump();
}

SdlView* SdlWindow::view(Hwnd hwnd) {
  const auto index = reinterpret_cast<std::uintptr_t>(hwnd);
  if (index == 0 || index > views_.size()) return nullptr;
  return views_[index - 1].get();
}

Hwnd SdlWindow::handle_of_sdl_window(std::uint32_t sdl_window_id) const {
  for (std::size_t i = 0; i < views_.size(); ++i)
    if (views_[i] && views_[i]->id() == sdl_window_id)
      return reinterpret_cast<Hwnd>(i + 1);
  return nullptr;
}

SdlView* SdlWindow::shown_view(Hwnd hwnd) {
  return shown(hwnd) ? view(hwnd) : nullptr;
}

void SdlWindow::present_if_changed(Hwnd hwnd, Surface& surface) {
  if (!surface.changed) return;
  surface.changed = false;
  if (SdlView* v = view(hwnd)) v->present(surface);
}

Dword SdlWindow::message_time_ms() const { return SDL_GetTicks(); }

void SdlWindow::set_window_visible(Hwnd hwnd, bool visible) {
  SdlView* v = view(hwnd);
  if (!v) return;
  if (visible) {
    v->show();
    v->focus();
  } else {
    v->hide();
  }
}

void SdlWindow::set_display_fullscreen(bool fullscreen) {
  fullscreen_ = fullscreen;
  if (SdlView* v = view(main_window())) v->set_fullscreen(fullscreen);
}

bool SdlWindow::open_window(const char* window_name, Dword style, int x, int y,
                            int width, int height) {
  SdlView::Options o;
  o.title_utf8 = base::cp932_to_utf8(window_name ? window_name : "");
  o.x = x;
  o.y = y;
  o.width = width;
  o.height = height;
  o.borderless = (style & WS_POPUP) != 0;
  o.high_dpi = true;
  std::string error;
  std::unique_ptr<SdlView> v = SdlView::create(o, error);
  if (!v) {
    std::fprintf(stderr, "mowa: cannot open a window: %s\n", error.c_str());
    return false;
  }
  v->set_whole_multiples(settings_.whole_multiples);
  views_.push_back(std::move(v));
  if (views_.size() == 1 && fullscreen_) views_.front()->set_fullscreen(true);
  return true;
}

void SdlWindow::place_window(Hwnd hwnd, Hwnd insert_after, int x, int y, int cx,
                             int cy) {
  SdlView* v = view(hwnd);
  if (!v) return;
  v->move_resize(x, y, cx, cy);
  // The picture follows the client size the program gave the window.
  if (const Surface* picture = surface(hwnd)) v->fit_picture(*picture);
  if (insert_after == HWND_TOPMOST) v->set_on_top(true);
}

void SdlWindow::heed_outside_requests() {
  if (!outside_ || outside_->pending() == 0) return;
  if (outside_->came() > 1 || boxes_open_ > 0) {
    const int signal_number = outside_->last_signal();
    std::fprintf(stderr, "mowa: ended by signal %d\n", signal_number);
    // What the program changed of the display is undone before it goes;
    // files it wrote are complete, as nothing of them is written here.
    set_display_fullscreen(false);
    std::fflush(stdout);
    std::fflush(stderr);
    SDL_Quit();
    std::_Exit(128 + signal_number);
  }
  // Before the main window exists the request waits for it.
  const Hwnd main = main_window();
  if (!main) return;
  outside_->take();
  queue_input(main, WM_CLOSE, 0, 0);
}

void SdlWindow::before_poll() {
  heed_outside_requests();
  expire_note();
  pump_sound();
  if (std::chrono::steady_clock::now() - last_pump_ >= kPumpInterval)
    translate_pending();
  else
    translate_held();
}

void SdlWindow::wait_for_input() {
  pump_sound();
  if (has_work()) return;
  // Nothing happens until input arrives or a sequence plays to its end, the
  // one moment the program acts by itself while it waits: sleep until then.
  // SDL returns as soon as it has an event, which stays queued for the next
  // poll, so a click is handled as quickly as without the wait.
  int timeout_ms = sound_ ? sound_->ms_until_next_end() : -1;
  const int note_ms = ms_until_note_expires();
  if (note_ms >= 0 && (timeout_ms < 0 || note_ms < timeout_ms))
    timeout_ms = note_ms;
  if (timeout_ms != 0) SDL_WaitEventTimeout(nullptr, timeout_ms);
  expire_note();
  heed_outside_requests();
  last_pump_ = std::chrono::steady_clock::now();  // the wait asked the display
}

bool SdlWindow::fast_forward() const {
  return fast_lasting_ || (SDL_GetModState() & KMOD_CTRL) != 0;
}

void SdlWindow::toggle_fast_forward() {
  fast_lasting_ = !fast_lasting_;
  for (auto& v : views_)
    if (v) v->set_fast_mark(fast_lasting_);
}

void SdlWindow::sleep_ms(Dword delay_ms) {
  present_all();
  using Clock = std::chrono::steady_clock;
  // The time left, in the scenario's milliseconds: while fast-forward is on
  // (Ctrl held, or Tab) it runs ten times as fast as the clock.
  auto left = std::chrono::duration_cast<Clock::duration>(
      std::chrono::milliseconds(delay_ms));
  auto before = Clock::now();
  while (left > Clock::duration::zero()) {
    const int speed = fast_forward() ? kFastForwardSpeed : 1;
    const auto left_ms =
        std::chrono::ceil<std::chrono::milliseconds>(left / speed).count();
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, static_cast<int>(std::min<long long>(
                                         left_ms, kSleepSlice_ms))))
      translate(event, true);
    heed_outside_requests();
    expire_note();
    const auto now = Clock::now();
    left -= (now - before) * speed;
    before = now;
  }
}

}  // namespace mowa::pf
