// The shell's state: the main window, the mouse, the saved display mode.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace mowa::shell {

struct Mouse {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::uint8_t left = 0;
  std::uint8_t right = 0;
  bool operator==(const Mouse&) const = default;
};

// What the statements that read the mouse saw: a scenario that waits for a
// click polls, and while nothing changes the main loop may wait for input.
struct MousePoll {
  // Set by get_mouse_state and get_mouse_position when the mouse is as it
  // was at the previous read; cleared before every idle step.
  bool unchanged = false;
  Mouse last_read;
};

struct Shell {
  pf::Hwnd main_window = nullptr;
  Mouse mouse;
  MousePoll mouse_poll;
  std::int32_t saved_display_mode = 0;
};

// Called by the statements that read the mouse state.
inline void note_mouse_read(Shell& shell) {
  shell.mouse_poll.unchanged = shell.mouse == shell.mouse_poll.last_read;
  shell.mouse_poll.last_read = shell.mouse;
}

}  // namespace mowa::shell
