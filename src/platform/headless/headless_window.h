// Windows and the message queue of the headless backend. Nothing ever waits:
// input comes from a script keyed to idle steps, time from a virtual clock.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/common/faults.h"
#include "platform/softgdi/window_table.h"
#include "platform/headless/event_log.h"
#include "platform/headless/input_script.h"
#include "platform/headless/presenter.h"
#include "platform/softgdi/soft_gdi.h"

namespace mowa::pf {

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
