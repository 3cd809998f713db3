#include "demo_palette.h"

#include <cmath>
#include <vector>

namespace mowa::demo {
namespace {

// Fills `ramp` through the given colours, evenly spaced.
void blend(Palette& p, Ramp ramp, const std::vector<Rgb>& stops) {
  const int segments = static_cast<int>(stops.size()) - 1;
  for (int i = 0; i < ramp.count; ++i) {
    const double t =
        ramp.count == 1 ? 0.0 : static_cast<double>(i) / (ramp.count - 1);
    const double at = t * segments;
    int s = static_cast<int>(at);
    if (s >= segments) s = segments - 1;
    const double f = at - s;
    auto mix = [f](std::uint8_t a, std::uint8_t b) {
      return static_cast<std::uint8_t>(std::lround(a + (b - a) * f));
    };
    const Rgb& a = stops[static_cast<std::size_t>(s)];
    const Rgb& b = stops[static_cast<std::size_t>(s) + 1];
    p[static_cast<std::size_t>(ramp.first + i)] = {mix(a.r, b.r), mix(a.g, b.g),
                                                   mix(a.b, b.b)};
  }
}

}  // namespace

Palette demo_palette() {
  Palette p{};
  p[ink::kClear] = {0, 0, 0};
  p[ink::kWhite] = {255, 255, 255};
  p[ink::kOutline] = {46, 32, 64};
  p[ink::kRed] = {226, 58, 74};
  p[ink::kCheek] = {255, 150, 176};
  p[ink::kYellow] = {255, 222, 84};
  p[ink::kOrange] = {255, 150, 54};
  p[ink::kBrown] = {132, 86, 48};
  p[ink::kDarkBrown] = {76, 48, 30};
  p[ink::kLamp] = {255, 236, 160};
  p[ink::kMoon] = {250, 246, 222};
  p[ink::kDimStar] = {176, 180, 214};
  p[ink::kPanelEdge] = {196, 200, 236};
  p[ink::kBlueFlower] = {104, 144, 255};
  p[ink::kPurple] = {156, 96, 206};
  p[ink::kPip] = {40, 40, 54};
  blend(p, ramp::kDusk,
        {{14, 14, 48},
         {70, 36, 104},
         {190, 88, 128},
         {246, 142, 112},
         {255, 196, 120}});
  blend(p, ramp::kGrass, {{16, 62, 36}, {56, 130, 58}, {160, 220, 96}});
  blend(p, ramp::kSky, {{58, 112, 206}, {120, 174, 236}, {214, 236, 255}});
  blend(p, ramp::kNight, {{4, 4, 18}, {18, 22, 60}, {44, 56, 118}});
  blend(p, ramp::kGrey, {{28, 28, 38}, {250, 250, 255}});
  blend(p, ramp::kFur, {{168, 140, 196}, {236, 214, 240}, {255, 252, 255}});
  blend(p, ramp::kPanel, {{10, 12, 40}, {62, 72, 132}});
  return p;
}

}  // namespace mowa::demo
