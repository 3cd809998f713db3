// Windows and the message queue of the browser player: the shared window
// table, with the main window's picture on the page's canvas, input queued
// by the page and real time.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/common/faults.h"
#include "platform/platform.h"
#include "platform/softgdi/soft_gdi.h"
#include "platform/softgdi/window_table.h"

namespace mowa::pf {

class WebSound;

class WebWindow final : public WindowTable, public IdleWait {
 public:
  WebWindow(Faults& faults, SoftGdi& gdi);

  void set_sound(WebSound* sound) { sound_ = sound; }
  // A picture shown over the main window's (a message box) at (x, y) of the
  // canvas, until cleared with null.
  void set_overlay(const Surface* overlay, int x, int y);
  // Shows the main window's picture (and the overlay) again.
  void show_main();
  // Sleeps for the given time; the page takes input meanwhile.
  void sleep_ms(Dword delay_ms);
  // Lets the page run (events, timers) when the program has kept it busy
  // for a while without sleeping.
  void yield_if_busy();
  // Tells the sound that time has passed: ended plays post their
  // notifications.
  void pump_sound();

  void wait_for_input() override;

 private:
  void before_poll() override;
  void present_if_changed(Hwnd hwnd, Surface& surface) override;
  Dword message_time_ms() const override;
  Point message_point() const override { return {pointer_x_, pointer_y_}; }
  void take_page_input();

  WebSound* sound_ = nullptr;
  const Surface* overlay_ = nullptr;
  int overlay_x_ = 0, overlay_y_ = 0;
  std::vector<std::uint32_t> composed_;
  int pointer_x_ = 0, pointer_y_ = 0;
  Wparam buttons_ = 0;
  // A press was handed out; what follows it waits until the queue has run
  // empty once and a short time has passed, so that the scenario sees the
  // button down even when the release came with the press (a tap).
  bool press_out_ = false;
  bool statement_turn_given_ = false;
  double press_time_ms_ = 0;
  double last_yield_ms_ = -1;
};

}  // namespace mowa::pf
