// The one palette that every picture of the demo carries. Sprites hold
// indices into the colours of the picture last loaded, so the pictures share
// their colours and a sprite looks the same over each of them.
#pragma once

#include <array>
#include <cstdint>

#include "indexed_picture.h"

namespace mowa::demo {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};

using Palette = std::array<Rgb, 256>;

Palette demo_palette();

// Named entries. Index 0 is black and is what a sprite leaves transparent.
namespace ink {
inline constexpr std::uint8_t kClear = 0;
inline constexpr std::uint8_t kWhite = 1;
inline constexpr std::uint8_t kOutline = 2;
inline constexpr std::uint8_t kRed = 3;
inline constexpr std::uint8_t kCheek = 4;
inline constexpr std::uint8_t kYellow = 5;
inline constexpr std::uint8_t kOrange = 6;
inline constexpr std::uint8_t kBrown = 7;
inline constexpr std::uint8_t kDarkBrown = 8;
inline constexpr std::uint8_t kLamp = 9;
inline constexpr std::uint8_t kMoon = 10;
inline constexpr std::uint8_t kDimStar = 11;
inline constexpr std::uint8_t kPanelEdge = 12;
inline constexpr std::uint8_t kBlueFlower = 13;
inline constexpr std::uint8_t kPurple = 14;
inline constexpr std::uint8_t kPip = 15;
}  // namespace ink

namespace ramp {
inline constexpr Ramp kDusk{16, 64};    // night blue, violet, rose, amber
inline constexpr Ramp kGrass{80, 32};   // dark to light green
inline constexpr Ramp kSky{112, 32};    // deep to pale blue
inline constexpr Ramp kNight{144, 32};  // black-blue to midnight blue
inline constexpr Ramp kGrey{176, 32};   // charcoal to white
inline constexpr Ramp kFur{208, 32};    // lilac shadow to white
inline constexpr Ramp kPanel{240, 16};  // the message panel's dark blues
}  // namespace ramp

}  // namespace mowa::demo
