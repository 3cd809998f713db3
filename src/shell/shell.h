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

struct Shell {
  pf::Hwnd main_window = nullptr;
  Mouse mouse;
  // Set by get_mouse_state and get_mouse_position; cleared before every
  // statement.
  bool mouse_read = false;
  std::int32_t saved_display_mode = 0;
};

// left + 2 * right, and the pointer. Each read is noted, so that a scenario
// polling an unchanged mouse can be told from one that works.
inline std::int32_t mouse_state(Shell& shell) {
  shell.mouse_read = true;
  return shell.mouse.left + 2 * shell.mouse.right;
}
inline Mouse mouse_position(Shell& shell) {
  shell.mouse_read = true;
  return shell.mouse;
}

}  // namespace mowa::shell
