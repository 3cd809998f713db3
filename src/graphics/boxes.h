// Filled and outlined rectangles drawn straight on the window.
#pragma once

#include <cstdint>

#include "graphics/graphics.h"

namespace mowa::graphics {

void boxfill(Graphics& g, std::int32_t x1, std::int32_t y1, std::int32_t x2,
             std::int32_t y2, std::int32_t colour);
void box(Graphics& g, std::int32_t x1, std::int32_t y1, std::int32_t x2,
         std::int32_t y2, std::int32_t colour);

}  // namespace mowa::graphics
