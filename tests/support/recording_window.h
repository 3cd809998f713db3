// A window service that only records what is posted to it: enough for the
// sound services, which talk to windows through PostMessageA alone.
#pragma once

#include <vector>

#include "platform/softgdi/window_table.h"

namespace mowa::test {

// What the window table draws with, built before it.
struct WindowTableParts {
  pf::Faults faults;
  pf::SoftGdi gdi{faults};
};

class RecordingWindow final : private WindowTableParts, public pf::WindowTable {
 public:
  struct Posted {
    pf::Hwnd hwnd;
    pf::Uint message;
    pf::Wparam wparam;
    pf::Lparam lparam;
  };
  std::vector<Posted> posted;

  RecordingWindow() : WindowTable(faults, gdi, Closing::kNotifyFirst) {}
  pf::Bool PostMessageA(pf::Hwnd hwnd, pf::Uint message, pf::Wparam wparam,
                        pf::Lparam lparam) override {
    posted.push_back({hwnd, message, wparam, lparam});
    return pf::kTrue;
  }

 private:
  void present_if_changed(pf::Hwnd, pf::Surface&) override {}
  pf::Dword message_time_ms() const override { return 0; }
  pf::Point message_point() const override { return {}; }
};

}  // namespace mowa::test
