// The display mode and the zoom effect.
#pragma once

#include <cstdint>

#include "shell/program.h"

namespace mowa::shell {

// 0: switch to 640x480 at the current depth and remember the mode in force;
// 1: restore the remembered mode.
void display_mode(Program& p, std::uint8_t mode);
// Zooms into the picture's top-left corner and back out, twenty frames.
void screen_big_small(Program& p);

}  // namespace mowa::shell
