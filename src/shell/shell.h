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
};

struct Shell {
  pf::Hwnd main_window = nullptr;
  Mouse mouse;
  std::int32_t saved_display_mode = 0;
};

}  // namespace mowa::shell
