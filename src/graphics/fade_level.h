// The colour a fade shows at each of its levels.
#pragma once

#include <cstdint>

namespace mowa::graphics {

inline constexpr int kFadeSteps = 20;
inline constexpr int kTopFadeLevel = kFadeSteps - 1;

// The float nearest to 1/19 (bits 0x3D579436), written as a hexadecimal
// literal so that every compiler reads the same bits. Being a shade above
// 1/19, it makes level 19 give every component back unchanged.
inline constexpr float kFadeFactor = 0x1.af286cp-5f;

// A component at level 0 (black) to 19 (full), cut toward zero. The product
// is exact in double precision, so it equals floor(component * level / 19)
// for every whole component from 0 to 255.
constexpr std::uint8_t fade_level(float component, int level) {
  const double shown = static_cast<double>(component) *
                       static_cast<double>(kFadeFactor) * level;
  if (!(shown > 0.0)) return 0;
  if (shown >= 255.0) return 255;
  return static_cast<std::uint8_t>(shown);
}

}  // namespace mowa::graphics
