// Fading the picture to black and back in twenty painted steps.
#pragma once

#include <cstdint>

#include "graphics/graphics.h"

namespace mowa::graphics {

void palette_black_out(Graphics& g, std::int32_t delay_ms);
void palette_black_in(Graphics& g, std::int32_t delay_ms);

}  // namespace mowa::graphics
