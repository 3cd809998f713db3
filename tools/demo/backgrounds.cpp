// The 640x480 backgrounds.
#include <algorithm>
#include <cmath>

#include "demo_palette.h"
#include "demo_pictures.h"

namespace mowa::demo {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr double kPi = 3.14159265358979323846;

// The dark panel that the message window's lines (tops 348, 380, 412) fall on.
void draw_message_panel(IndexedPicture& pic) {
  constexpr int kX = 36, kY = 338, kW = 568, kH = 136, kRadius = 14;
  pic.fill_round_rect(kX, kY, kW, kH, kRadius, ink::kPanelEdge);
  IndexedPicture inside(kW - 4, kH - 4);
  for (int y = 0; y < inside.height(); ++y)
    for (int x = 0; x < inside.width(); ++x)
      inside.set(
          x, y,
          ramp_index(ramp::kPanel, 0.55 - 0.45 * y / inside.height(), x, y));
  for (int y = 0; y < inside.height(); ++y) {
    for (int x = 0; x < inside.width(); ++x) {
      const int dx =
          std::max({kRadius - 2 - x, x - (inside.width() - kRadius + 1), 0});
      const int dy =
          std::max({kRadius - 2 - y, y - (inside.height() - kRadius + 1), 0});
      if (dx * dx + dy * dy <= (kRadius - 2) * (kRadius - 2))
        pic.set(kX + 2 + x, kY + 2 + y, inside.at(x, y));
    }
  }
}

// A line of hills: the top row of the ground at column x.
double hill_top(double x, double base, double height, double wave,
                double phase) {
  return base - height * (0.6 * std::sin(x / wave + phase) +
                          0.4 * std::sin(x / (wave * 0.43) + phase * 2.1));
}

void scatter_stars(IndexedPicture& pic, Lcg& rng, int count, int lowest_row,
                   Ramp sky) {
  for (int i = 0; i < count; ++i) {
    const int x = rng.below(kWidth);
    // More stars high up, fewer towards the horizon.
    const int y = static_cast<int>(lowest_row * rng.unit() * rng.unit());
    const std::uint8_t at = pic.at(x, y);
    if (at < sky.first || at >= sky.first + sky.count) continue;
    if (rng.below(6) == 0) {
      pic.set(x, y, ink::kWhite);
      pic.set(x - 1, y, ink::kDimStar);
      pic.set(x + 1, y, ink::kDimStar);
      pic.set(x, y - 1, ink::kDimStar);
      pic.set(x, y + 1, ink::kDimStar);
    } else {
      pic.set(x, y, rng.below(3) == 0 ? ink::kWhite : ink::kDimStar);
    }
  }
}

void draw_flower(IndexedPicture& pic, int x, int y, std::uint8_t petals) {
  pic.fill_rect(x, y + 2, 1, 5, shade(ramp::kGrass, 8));
  pic.fill_ellipse(x - 1.5, y + 0.5, 2, 2, petals);
  pic.fill_ellipse(x + 2.5, y + 0.5, 2, 2, petals);
  pic.fill_ellipse(x + 0.5, y - 1.5, 2, 2, petals);
  pic.fill_ellipse(x + 0.5, y + 2.5, 2, 2, petals);
  pic.set(x, y, ink::kYellow);
}

}  // namespace

IndexedPicture title_picture() {
  IndexedPicture pic(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      pic.set(x, y, ramp_index(ramp::kDusk, std::pow(y / 330.0, 1.3), x, y));
  Lcg rng(7);
  scatter_stars(pic, rng, 420, 260, ramp::kDusk);
  // A crescent: the moon's disc less a disc of sky beside it.
  for (int y = 30; y < 140; ++y) {
    for (int x = 440; x < 580; ++x) {
      const double a = std::hypot(x + 0.5 - 510, y + 0.5 - 84);
      const double b = std::hypot(x + 0.5 - 532, y + 0.5 - 72);
      if (a <= 44 && b > 40) pic.set(x, y, ink::kMoon);
    }
  }
  for (int x = 0; x < kWidth; ++x) {
    const double far_top = hill_top(x, 300, 26, 70, 0.7);
    const double near_top = hill_top(x, 330, 20, 95, 2.3);
    for (int y = static_cast<int>(far_top); y < kHeight; ++y)
      pic.set(x, y,
              ramp_index(ramp::kNight, 0.75 - (y - far_top) / 140.0, x, y));
    for (int y = static_cast<int>(near_top); y < kHeight; ++y)
      pic.set(x, y,
              ramp_index(ramp::kGrass, 0.12 - (y - near_top) / 400.0, x, y));
  }
  for (int i = 0; i < 26; ++i) {
    const int x = 20 + rng.below(600);
    const int y = 300 + rng.below(34);
    pic.set(x, y, ink::kYellow);
    if (rng.below(2)) pic.set(x + 1, y, ink::kLamp);
  }
  draw_message_panel(pic);
  return pic;
}

IndexedPicture meadow_picture() {
  IndexedPicture pic(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      pic.set(x, y, ramp_index(ramp::kSky, 0.15 + y / 300.0, x, y));
  // The sun sits in the top-left corner, where the zoom ends up.
  for (int ray = 0; ray < 12; ++ray) {
    const double angle = ray * kPi / 6 + 0.2;
    for (double r = 52; r < 78; r += 0.5)
      for (int w = -2; w <= 2; ++w)
        pic.set(
            static_cast<int>(96 + r * std::cos(angle) - w * std::sin(angle)),
            static_cast<int>(80 + r * std::sin(angle) + w * std::cos(angle)),
            ink::kOrange);
  }
  pic.fill_ellipse(96, 80, 46, 46, ink::kOrange);
  pic.fill_ellipse(96, 80, 42, 42, ink::kYellow);
  pic.fill_ellipse(82, 72, 5, 7, ink::kOutline);
  pic.fill_ellipse(110, 72, 5, 7, ink::kOutline);
  pic.fill_ellipse(72, 90, 7, 4, ink::kCheek);
  pic.fill_ellipse(120, 90, 7, 4, ink::kCheek);
  for (int x = 86; x <= 106; ++x)
    pic.set(x, static_cast<int>(95 + 6 * std::sin((x - 86) * kPi / 20)),
            ink::kOutline);
  // Clouds: clusters of white puffs over a pale underside.
  const double clouds[][2] = {{300, 70}, {470, 120}, {560, 50}};
  for (const auto& c : clouds) {
    pic.fill_ellipse(c[0], c[1] + 6, 58, 18, shade(ramp::kSky, 28));
    pic.fill_ellipse(c[0] - 28, c[1], 26, 20, ink::kWhite);
    pic.fill_ellipse(c[0] + 4, c[1] - 10, 32, 26, ink::kWhite);
    pic.fill_ellipse(c[0] + 34, c[1] + 2, 24, 18, ink::kWhite);
  }
  for (int x = 0; x < kWidth; ++x) {
    const double far_top = hill_top(x, 250, 22, 80, 1.3);
    const double near_top = hill_top(x, 300, 12, 120, 0.2);
    for (int y = static_cast<int>(far_top); y < kHeight; ++y)
      pic.set(x, y,
              ramp_index(ramp::kGrass, 0.55 - (y - far_top) / 260.0, x, y));
    for (int y = static_cast<int>(near_top); y < kHeight; ++y)
      pic.set(x, y,
              ramp_index(ramp::kGrass, 0.95 - (y - near_top) / 200.0, x, y));
  }
  // A path that winds down from the far hills.
  for (int y = 262; y < kHeight; ++y) {
    const double centre = 470 + 40 * std::sin(y / 40.0) - (y - 262) * 0.6;
    const double half = 4 + (y - 262) * 0.22;
    for (int x = static_cast<int>(centre - half);
         x <= static_cast<int>(centre + half); ++x)
      pic.set(x, y, std::abs(x - centre) > half - 2 ? ink::kBrown : ink::kLamp);
  }
  // A tree on the left hill.
  pic.fill_rect(196, 190, 16, 80, ink::kDarkBrown);
  pic.fill_rect(200, 190, 6, 80, ink::kBrown);
  const double crown[][3] = {
      {204, 170, 40}, {178, 190, 28}, {232, 188, 30}, {204, 140, 30}};
  for (const auto& c : crown)
    pic.fill_ellipse(c[0], c[1], c[2], c[2] * 0.85, shade(ramp::kGrass, 6));
  for (const auto& c : crown)
    pic.fill_ellipse(c[0] - 6, c[1] - 6, c[2] * 0.7, c[2] * 0.6,
                     shade(ramp::kGrass, 14));
  Lcg rng(11);
  const std::uint8_t colours[] = {ink::kRed, ink::kWhite, ink::kBlueFlower,
                                  ink::kYellow, ink::kCheek};
  for (int i = 0; i < 90; ++i)
    draw_flower(pic, rng.below(kWidth), 300 + rng.below(40),
                colours[rng.below(5)]);
  draw_message_panel(pic);
  return pic;
}

IndexedPicture night_picture() {
  IndexedPicture pic(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      pic.set(x, y, ramp_index(ramp::kNight, 0.2 + y / 320.0, x, y));
  Lcg rng(23);
  scatter_stars(pic, rng, 700, 300, ramp::kNight);
  // The full moon with two rings of glow.
  pic.fill_ellipse(150, 110, 70, 70, shade(ramp::kNight, 24));
  pic.fill_ellipse(150, 110, 58, 58, shade(ramp::kNight, 29));
  pic.fill_ellipse(150, 110, 46, 46, ink::kMoon);
  pic.fill_ellipse(134, 100, 9, 8, ink::kDimStar);
  pic.fill_ellipse(165, 126, 12, 9, ink::kDimStar);
  pic.fill_ellipse(160, 92, 5, 5, ink::kDimStar);
  for (int x = 0; x < kWidth; ++x) {
    const double top = hill_top(x, 290, 18, 90, 2.0);
    for (int y = static_cast<int>(top); y < kHeight; ++y)
      pic.set(x, y, ramp_index(ramp::kGrass, 0.08 - (y - top) / 600.0, x, y));
  }
  // A little house with lit windows on the right hill.
  constexpr int kHx = 430, kHy = 214;
  for (int row = 0; row < 46; ++row) {
    const int half = row + 6;
    pic.fill_rect(kHx + 60 - half, kHy + row, 2 * half, 1, ink::kDarkBrown);
  }
  pic.fill_rect(kHx + 10, kHy + 46, 100, 64, shade(ramp::kNight, 10));
  pic.fill_rect(kHx + 24, kHy + 62, 22, 20, ink::kLamp);
  pic.fill_rect(kHx + 74, kHy + 62, 22, 20, ink::kLamp);
  pic.fill_rect(kHx + 34, kHy + 62, 2, 20, ink::kBrown);
  pic.fill_rect(kHx + 24, kHy + 71, 22, 2, ink::kBrown);
  pic.fill_rect(kHx + 84, kHy + 62, 2, 20, ink::kBrown);
  pic.fill_rect(kHx + 74, kHy + 71, 22, 2, ink::kBrown);
  pic.fill_rect(kHx + 52, kHy + 78, 16, 32, ink::kDarkBrown);
  pic.fill_rect(kHx + 86, kHy + 6, 10, 22, ink::kDarkBrown);
  // Fireflies over the grass.
  for (int i = 0; i < 30; ++i) {
    const int x = rng.below(kWidth);
    const int y = 290 + rng.below(44);
    pic.set(x, y, ink::kYellow);
    pic.set(x + 1, y, ink::kLamp);
  }
  draw_message_panel(pic);
  return pic;
}

IndexedPicture dice_sheet() {
  IndexedPicture pic(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      pic.set(x, y, ramp_index(ramp::kGrey, 0.05 + 0.1 * y / kHeight, x, y));
  // Pip positions on a 96-pixel face, in thirds.
  constexpr int kPips[6][6][2] = {
      {{1, 1}},
      {{0, 0}, {2, 2}},
      {{0, 0}, {1, 1}, {2, 2}},
      {{0, 0}, {2, 0}, {0, 2}, {2, 2}},
      {{0, 0}, {2, 0}, {1, 1}, {0, 2}, {2, 2}},
      {{0, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {2, 2}}};
  for (int face = 0; face < 6; ++face) {
    const int left = face * 100 + 2;
    const int top = kHeight - 98;  // stored rows 2 to 97
    pic.fill_round_rect(left, top, 96, 96, 16, shade(ramp::kGrey, 16));
    pic.fill_round_rect(left, top, 92, 92, 15, ink::kWhite);
    for (int p = 0; p <= face; ++p) {
      const int col = kPips[face][p][0];
      const int row = kPips[face][p][1];
      const bool one = face == 0;
      pic.fill_ellipse(left + 18 + 28 * col, top + 18 + 28 * row, one ? 14 : 9,
                       one ? 14 : 9, one ? ink::kRed : ink::kPip);
    }
  }
  return pic;
}

}  // namespace mowa::demo
