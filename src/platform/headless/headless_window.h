// Windows and the message queue of the headless backend. Nothing ever waits:
// input comes from a script keyed to idle steps, time from a virtual clock.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/common/faults.h"
#include "platform/common/window_table.h"
#include "platform/headless/event_log.h"
#include "platform/headless/input_script.h"
#include "platform/headless/presenter.h"
#include "platform/softgdi/soft_gdi.h"

namespace mowa::pf {

// Thrown out of PeekMessageA when the run reaches its step limit.
struct StepLimitReached {
  std::uint64_t steps;
};

class HeadlessWindow final : public WindowTable {
 public:
  HeadlessWindow(Faults& faults, EventLog& log, SoftGdi& gdi,
                 Presenter& presenter);

  void set_input(std::vector<InputEvent> events);
  void set_max_steps(std::uint64_t steps) { max_steps_ = steps; }

 private:
  // Each poll after one that found nothing ends an idle step.
  void before_poll() override;
  void found_nothing() override;
  void present_if_changed(Hwnd hwnd, Surface& surface) override;
  Dword message_time_ms() const override;
  Point message_point() const override { return {0, 0}; }
  void queue_due_input();

  EventLog& log_;
  Presenter& presenter_;
  bool in_idle_step_ = false;
  std::uint64_t max_steps_ = 10'000'000;
  std::vector<InputEvent> input_;
  std::size_t next_input_ = 0;
  int pointer_x_ = 0, pointer_y_ = 0;
  Wparam buttons_ = 0;
};

}  // namespace mowa::pf
