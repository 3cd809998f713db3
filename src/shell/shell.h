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

// Called by the statements that read the mouse state.
inline void note_mouse_read(Shell& shell) { shell.mouse_read = true; }

}  // namespace mowa::shell
