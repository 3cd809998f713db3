// The sprites. Their pixels are indices into the demo palette; index 0 is
// what a transparent sprite leaves untouched, so no figure uses it inside.
#include <cmath>

#include "demo_palette.h"
#include "demo_pictures.h"

namespace mowa::demo {
namespace {

constexpr double kPi = 3.14159265358979323846;

// The mascot's fluffy outline: a disc with puffs round its edge.
bool in_fluff(double x, double y, double grow) {
  const double cx = 48, cy = 50;
  if (std::hypot(x - cx, y - cy) <= 33 + grow) return true;
  for (int i = 0; i < 14; ++i) {
    const double a = i * 2 * kPi / 14;
    if (std::hypot(x - (cx + 32 * std::cos(a)), y - (cy + 30 * std::sin(a))) <=
        9 + grow)
      return true;
  }
  return false;
}

}  // namespace

IndexedPicture mowa_sprite() {
  IndexedPicture pic(96, 96);
  // Feet first, so that the body overlaps them.
  for (const double fx : {34.0, 62.0}) {
    pic.fill_ellipse(fx, 86, 11, 7, ink::kOutline);
    pic.fill_ellipse(fx, 85, 9, 5, shade(ramp::kFur, 20));
  }
  for (int y = 0; y < 96; ++y) {
    for (int x = 0; x < 96; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      if (in_fluff(px, py, 0)) {
        // Lit from the top left.
        const double t = 1.0 - std::hypot(px - 34, py - 30) / 72.0;
        pic.set(x, y, ramp_index(ramp::kFur, t, x, y));
      } else if (in_fluff(px, py, 2)) {
        pic.set(x, y, ink::kOutline);
      }
    }
  }
  // A sprout on the head.
  pic.fill_rect(47, 4, 2, 10, shade(ramp::kGrass, 6));
  pic.fill_ellipse(42, 6, 6, 3, shade(ramp::kGrass, 18));
  pic.fill_ellipse(54, 5, 6, 3, shade(ramp::kGrass, 22));
  for (const double ex : {37.0, 59.0}) {
    pic.fill_ellipse(ex, 50, 5, 7, ink::kOutline);
    pic.fill_ellipse(ex - 1.5, 47, 2, 2.5, ink::kWhite);
  }
  pic.fill_ellipse(26, 62, 7, 4, ink::kCheek);
  pic.fill_ellipse(70, 62, 7, 4, ink::kCheek);
  pic.fill_ellipse(48, 63, 4, 3, ink::kRed);
  return pic;
}

IndexedPicture star_sprite() {
  IndexedPicture pic(32, 32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const double dx = x + 0.5 - 16, dy = y + 0.5 - 17;
      const double r = std::hypot(dx, dy);
      // The star's edge: five points between radii 6 and 15.
      const double a = std::atan2(dy, dx) + kPi / 2;
      const double wave =
          std::abs(std::fmod(a * 5 / (2 * kPi) + 10.0, 1.0) - 0.5) * 2;
      const double edge = 6.5 + 8.5 * wave * wave;
      if (r <= edge - 1.5)
        pic.set(x, y, r < 4 ? ink::kLamp : ink::kYellow);
      else if (r <= edge)
        pic.set(x, y, ink::kOrange);
    }
  }
  return pic;
}

}  // namespace mowa::demo
