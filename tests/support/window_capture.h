// What the window showed, read back from the runner's screenshot and frames,
// and what it should have shown.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "bmp_writer.h"
#include "scenario_runner.h"

namespace mowa::test {

// 640 x 480 colours 0x00RRGGBB, top row first.
using Pixels = std::vector<std::uint32_t>;
inline constexpr int kWindowWidth = 640;
inline constexpr int kWindowHeight = 480;

inline Pixels black_window() { return Pixels(kWindowWidth * kWindowHeight, 0); }

struct PictureRun {
  RunResult result;
  Pixels screenshot;
  std::vector<Pixels> frames;  // one per present, in order
  // The error boxes as "caption: text", without the farewell box.
  std::vector<std::string> errors() const;
};

// Runs the scenario with a screenshot and recorded frames.
PictureRun run_pictures(const Scenario& s,
                        std::vector<std::string> options = {});
// The frames a run wrote to `dir`, in order.
std::vector<Pixels> read_frames(const std::string& dir);

// `picture` in `colours` (the entries it lacks black) drawn with its top-left
// corner at (x, y) over `under`.
Pixels drawn(const Bmp& picture, const std::vector<Rgb>& colours, int x = 0,
             int y = 0, Pixels under = black_window());
inline Pixels drawn(const Bmp& picture) {
  return drawn(picture, picture.colours);
}

::testing::AssertionResult same_pixels(const Pixels& shown,
                                       const Pixels& expected);

inline std::uint32_t at(const Pixels& p, int x, int y) {
  return p[static_cast<std::size_t>(y * kWindowWidth + x)];
}

}  // namespace mowa::test
