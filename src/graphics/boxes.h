// Filled and outlined rectangles drawn straight on the window.
#pragma once

#include <cstdint>

#include "shell/program.h"

namespace mowa::graphics {

void boxfill(Program& p, std::int32_t x1, std::int32_t y1, std::int32_t x2,
             std::int32_t y2, std::int32_t colour);
void box(Program& p, std::int32_t x1, std::int32_t y1, std::int32_t x2,
         std::int32_t y2, std::int32_t colour);

}  // namespace mowa::graphics
