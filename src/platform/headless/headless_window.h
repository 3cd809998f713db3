// Windows, the message queue and the frames shown by the headless backend.
// Nothing ever waits: input comes from a script keyed to idle steps, time
// from a virtual clock.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/common/faults.h"
#include "platform/headless/event_log.h"
#include "platform/headless/input_script.h"
#include "platform/softgdi/soft_gdi.h"
#include "platform/softgdi/window_table.h"

namespace mowa::pf {

// Presents the window's framebuffer whenever it changed: one frame a change,
// seen at the moments a real display would show it (a paint ends, a device
// context is released, the program sleeps, shows a box or polls its queue).
class Presenter {
 public:
  explicit Presenter(EventLog& log) : log_(log) {}
  // Where each frame is written as frame-00001.png on; empty: nowhere.
  void set_frames_dir(std::string dir) { frames_dir_ = std::move(dir); }
  void present_if_changed(Surface& surface);
  std::uint64_t frames() const { return frames_; }

  // Writes what the headless display shows of a window: its client area at
  // its size; a screen of black when there is no window or it has not been
  // given a size yet.
  static bool write_shown(const std::string& path, const Surface* surface);

 private:
  EventLog& log_;
  std::string frames_dir_;
  std::uint64_t frames_ = 0;
};

class HeadlessWindow final : public WindowTable {
 public:
  HeadlessWindow(Faults& faults, EventLog& log, SoftGdi& gdi,
                 Presenter& presenter);

  // Input is queued at the first poll after the idle step it is keyed to.
  void set_input(std::vector<InputEvent> events);

 private:
  void before_poll() override;
  void present_if_changed(Hwnd hwnd, Surface& surface) override;
  Dword message_time_ms() const override;
  Point message_point() const override { return {0, 0}; }
  void queue_due_input();

  EventLog& log_;
  Presenter& presenter_;
  std::vector<InputEvent> input_;
  std::size_t next_input_ = 0;
  int pointer_x_ = 0, pointer_y_ = 0;
  Wparam buttons_ = 0;
};

}  // namespace mowa::pf
