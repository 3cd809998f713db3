// The text state: the font set and the stored message text.
#pragma once

#include "platform/types.h"

namespace mowa::text {

inline constexpr int kFontCount = 8;  // heights 4, 8, ... 32
inline constexpr int kMessageBytes = 256;

struct Text {
  pf::Hfont fonts[kFontCount] = {};
  char message[kMessageBytes] = {};
};

}  // namespace mowa::text
