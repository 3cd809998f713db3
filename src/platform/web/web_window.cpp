#include "platform/web/web_window.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>

#include "platform/web/web_page.h"
#include "platform/web/web_sound.h"

namespace mowa::pf {
namespace {

// A program that runs statements without sleeping still lets the page take
// input and paint this often.
constexpr double kYieldInterval_ms = 15;
// A press is seen this long at least (and by one statement) before what
// follows it: a scenario that polls the mouse in a loop of a few statements
// reads it, even when the release came with the press.
constexpr double kPressHold_ms = 80;
// Fast-forward sleeps a tenth of the time, looking again this often.
constexpr double kFastForwardSpeed = 10;
constexpr double kSleepSlice_ms = 50;

}  // namespace

WebWindow::WebWindow(Faults& faults, SoftGdi& gdi)
    : WindowTable(faults, gdi, Closing::kVanishFirst) {}

void WebWindow::set_overlay(const Surface* overlay, int x, int y) {
  overlay_ = overlay;
  overlay_x_ = x;
  overlay_y_ = y;
}

void WebWindow::show_main() {
  const Hwnd main = main_window();
  Surface* picture = main ? surface(main) : nullptr;
  if (!picture || !shown(main)) return;
  picture->changed = false;
  if (!overlay_) {
    page::present(picture->pixels.data(), picture->width(), picture->height());
    return;
  }
  composed_ = picture->pixels;
  const int width = picture->width(), height = picture->height();
  for (int y = 0; y < overlay_->height(); ++y) {
    const int cy = overlay_y_ + y;
    if (cy < 0 || cy >= height) continue;
    for (int x = 0; x < overlay_->width(); ++x) {
      const int cx = overlay_x_ + x;
      if (cx < 0 || cx >= width) continue;
      composed_[static_cast<std::size_t>(cy) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(cx)] = overlay_->at(x, y);
    }
  }
  page::present(composed_.data(), width, height);
}

void WebWindow::present_if_changed(Hwnd hwnd, Surface& surface) {
  if (!surface.changed) return;
  if (hwnd != main_window()) {
    surface.changed = false;  // only the main window has a place on the page
    return;
  }
  show_main();
}

Dword WebWindow::message_time_ms() const {
  return static_cast<Dword>(page::now_ms());
}

void WebWindow::pump_sound() {
  if (sound_) sound_->advance();
}

void WebWindow::yield_if_busy() {
  const double now = page::now_ms();
  // Counted from the first poll: the page has just had its turn, as the
  // program was started from it.
  if (last_yield_ms_ < 0) last_yield_ms_ = now;
  if (now - last_yield_ms_ < kYieldInterval_ms) return;
  present_all();
  page::yield_turn();
  last_yield_ms_ = page::now_ms();
}

void WebWindow::before_poll() {
  yield_if_busy();
  pump_sound();
  take_page_input();
}

void WebWindow::take_page_input() {
  const Hwnd main = main_window();
  if (!main) return;
  if (press_out_) {
    if (has_work()) return;
    if (!statement_turn_given_) {
      statement_turn_given_ =
          true;  // this poll finds nothing: a statement runs
      return;
    }
    if (page::now_ms() - press_time_ms_ < kPressHold_ms) return;
    press_out_ = false;
    statement_turn_given_ = false;
  }
  const Surface* picture = surface(main);
  const int right = picture ? std::max(picture->width() - 1, 0) : 0;
  const int bottom = picture ? std::max(picture->height() - 1, 0) : 0;
  while (page::has_input()) {
    const page::Input in = page::next_input();
    const Lparam at =
        point_param(std::clamp(in.x, 0, right), std::clamp(in.y, 0, bottom));
    const auto queue = [&](Uint message, Wparam wparam, Lparam lparam) {
      queue_message(Msg{main, message, wparam, lparam, message_time_ms(),
                        message_point()});
    };
    if (in.kind == page::Input::kKey) {
      queue(WM_KEYDOWN, static_cast<Wparam>(in.code), 1);
      continue;
    }
    pointer_x_ = std::clamp(in.x, 0, right);
    pointer_y_ = std::clamp(in.y, 0, bottom);
    if (in.kind == page::Input::kMove) {
      queue(WM_MOUSEMOVE, buttons_, at);
      continue;
    }
    const bool down = in.kind == page::Input::kDown;
    const bool left = in.code == 0;
    const Wparam bit = left ? MK_LBUTTON : MK_RBUTTON;
    buttons_ = down ? (buttons_ | bit) : (buttons_ & ~bit);
    const Uint message = left ? (down ? WM_LBUTTONDOWN : WM_LBUTTONUP)
                              : (down ? WM_RBUTTONDOWN : WM_RBUTTONUP);
    queue(message, buttons_, at);
    if (down) {
      press_out_ = true;
      press_time_ms_ = page::now_ms();
      return;
    }
  }
}

void WebWindow::wait_for_input() {
  pump_sound();
  if (has_work()) return;
  present_all();
  if (press_out_) {
    // The press is being held: nothing changes until its time is up.
    const double left_ms = kPressHold_ms - (page::now_ms() - press_time_ms_);
    if (left_ms > 0) emscripten_sleep(static_cast<unsigned>(left_ms) + 1);
    last_yield_ms_ = page::now_ms();
    return;
  }
  if (page::has_input()) return;
  // Nothing happens until input arrives or a sequence plays to its end.
  const int timeout_ms = sound_ ? sound_->ms_until_next_end() : -1;
  if (timeout_ms != 0) page::wait_for_input(timeout_ms);
  last_yield_ms_ = page::now_ms();
}

void WebWindow::sleep_ms(Dword delay_ms) {
  present_all();
  if (delay_ms == 0) page::yield_turn();
  // The time left, in the scenario's milliseconds: while fast-forward is on
  // it runs ten times as fast as the clock.
  double left_ms = delay_ms;
  double before = page::now_ms();
  while (left_ms > 0) {
    const double speed = page::fast_forward() ? kFastForwardSpeed : 1;
    emscripten_sleep(static_cast<unsigned>(
        std::ceil(std::min(left_ms / speed, kSleepSlice_ms))));
    const double now = page::now_ms();
    left_ms -= (now - before) * speed;
    before = now;
  }
  last_yield_ms_ = page::now_ms();
}

}  // namespace mowa::pf
