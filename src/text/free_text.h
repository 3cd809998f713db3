// Numbers and texts written anywhere on the window, and forced repaints.
#pragma once

#include <cstdint>

#include "text/text.h"

namespace mowa::text {

void number_write(Text& t, std::int32_t value, std::int32_t x,
                  std::int32_t y, std::int32_t size, std::int32_t colour,
                  std::int32_t opaque);
void text_write(Text& t, const char* text, std::int32_t x, std::int32_t y,
                std::int32_t size, std::int32_t colour, std::int32_t opaque);
void force_write(Text& t);

}  // namespace mowa::text
