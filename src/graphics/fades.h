// Fading the picture to black and back in twenty painted steps.
#pragma once

#include <cstdint>

#include "shell/program.h"

namespace mowa::graphics {

void palette_black_out(Program& p, std::int32_t delay_ms);
void palette_black_in(Program& p, std::int32_t delay_ms);

}  // namespace mowa::graphics
