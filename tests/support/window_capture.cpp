#include "window_capture.h"

#include <algorithm>
#include <cstdio>

#include "platform/softgdi/png_io.h"

namespace mowa::test {
namespace {

bool read_window(const std::string& path, Pixels& out) {
  int width = 0, height = 0;
  return pf::read_png(path, out, width, height) && width == kWindowWidth &&
         height == kWindowHeight;
}

}  // namespace

std::vector<std::string> PictureRun::errors() const {
  std::vector<std::string> r;
  for (const Event& e : result.of("message_box"))
    if (e.at("caption") != kFarewellCaption)
      r.push_back(e.at("caption") + ": " + e.at("text"));
  return r;
}

std::vector<Pixels> read_frames(const std::string& dir) {
  std::vector<Pixels> frames;
  for (int n = 1;; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%05d.png", n);
    Pixels frame;
    if (!read_window(dir + name, frame)) return frames;
    frames.push_back(std::move(frame));
  }
}

PictureRun run_pictures(const Scenario& s, std::vector<std::string> options) {
  const std::string shot = s.dir() + "/.shot.png";
  options.insert(options.end(),
                 {"--screenshot", shot, "--frames", s.dir() + "/.frames"});
  PictureRun run;
  run.result = s.run(options);
  read_window(shot, run.screenshot);
  run.frames = read_frames(s.dir() + "/.frames");
  return run;
}

Pixels drawn(const Bmp& picture, const std::vector<Rgb>& colours, int x, int y,
             Pixels under) {
  for (int row = std::max(0, -y);
       row < std::min(picture.height, kWindowHeight - y); ++row)
    for (int col = std::max(0, -x);
         col < std::min(picture.width, kWindowWidth - x); ++col) {
      const std::uint8_t index = picture.at(col, row);
      under[static_cast<std::size_t>((y + row) * kWindowWidth + x + col)] =
          index < colours.size() ? packed(colours[index]) : 0;
    }
  return under;
}

::testing::AssertionResult same_pixels(const Pixels& shown,
                                       const Pixels& expected) {
  if (shown.size() != expected.size())
    return ::testing::AssertionFailure()
           << "no picture of the window (" << shown.size() << " pixels)";
  const auto first = static_cast<std::size_t>(
      std::mismatch(shown.begin(), shown.end(), expected.begin()).first -
      shown.begin());
  if (first == shown.size()) return ::testing::AssertionSuccess();
  std::size_t differing = 0;
  for (std::size_t i = first; i < shown.size(); ++i)
    differing += shown[i] != expected[i];
  char detail[128];
  std::snprintf(detail, sizeof detail,
                "%zu pixels differ; first at (%zu, %zu): %06X, not %06X",
                differing, first % kWindowWidth, first / kWindowWidth,
                static_cast<unsigned>(shown[first]),
                static_cast<unsigned>(expected[first]));
  return ::testing::AssertionFailure() << detail;
}

}  // namespace mowa::test
