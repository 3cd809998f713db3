// Helpers for the text tests: a picture to load behind the text, frames read
// back from mowa-headless, ink measured in them, and what the software GDI
// draws for a request, as the reference a frame must equal.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "bmp_writer.h"
#include "platform/common/faults.h"
#include "platform/softgdi/png_io.h"
#include "platform/softgdi/soft_gdi.h"
#include "scenario_runner.h"

namespace mowa::test {

constexpr std::uint32_t kWhiteRgb = 0xFFFFFF;
constexpr std::uint32_t kRedRgb = 0xFF0000;
constexpr std::uint32_t kBlueRgb = 0x0000FF;
// The picture behind the text: a colour that no text colour is.
constexpr Rgb kPictureColour{0x20, 0x30, 0x60};
constexpr std::uint32_t kPictureRgb = packed(kPictureColour);

// An 8-bit 640x480 BMP file whose every pixel shows kPictureRgb.
inline std::string picture_bmp() {
  Bmp bmp;
  bmp.pixels.assign(640 * 480, 1);
  bmp.colours[1] = kPictureColour;
  return bmp.file();
}

// 0xRRGGBB pixels, top row first.
struct Frame {
  std::vector<std::uint32_t> pixels;
  int width = 0, height = 0;
};
inline Frame load_frame(const std::string& png_path) {
  Frame f;
  EXPECT_TRUE(pf::read_png(png_path, f.pixels, f.width, f.height)) << png_path;
  return f;
}
inline int differing_pixels(const Frame& a, const Frame& b) {
  if (a.pixels.size() != b.pixels.size()) return -1;
  int n = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i)
    n += a.pixels[i] != b.pixels[i];
  return n;
}

// Right and bottom excluded.
struct Area {
  int left, top, right, bottom;
};
// The pixels of an area that are (or, with `is` false, are not) `rgb`: how
// many, and their bounding box.
struct Ink {
  int count = 0;
  Area box{0, 0, 0, 0};
  bool inside(const Area& a) const {
    return count == 0 || (box.left >= a.left && box.top >= a.top &&
                          box.right <= a.right && box.bottom <= a.bottom);
  }
};
inline Ink ink(const Frame& f, std::uint32_t rgb, bool is = true,
               Area a = {0, 0, 640, 480}) {
  Ink k;
  k.box = Area{a.right, a.bottom, a.left, a.top};
  for (int y = a.top; y < std::min(a.bottom, f.height); ++y)
    for (int x = a.left; x < std::min(a.right, f.width); ++x) {
      if ((f.pixels[static_cast<std::size_t>(y * f.width + x)] == rgb) != is)
        continue;
      ++k.count;
      k.box = Area{std::min(k.box.left, x), std::min(k.box.top, y),
                   std::max(k.box.right, x + 1), std::max(k.box.bottom, y + 1)};
    }
  if (k.count == 0) k.box = Area{0, 0, 0, 0};
  return k;
}

// The documented request of the fonts, spelled out apart from the program:
// ＭＳ ゴシック, heavy, Shift-JIS, half-width 14 unless told.
inline pf::LogFontA gothic(int height, int width = 14) {
  pf::LogFontA lf{};
  lf.lfHeight = -height;
  lf.lfWidth = width;
  lf.lfWeight = 1000;
  lf.lfCharSet = 128;
  std::memcpy(lf.lfFaceName, "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E", 13);
  return lf;
}

struct TextPiece {
  int x, y;
  std::string cp932;
  pf::ColorRef colour = 0xFFFFFF;
};
// What the software GDI shows for the pieces drawn over `ground_rgb`.
inline Frame reference_text(const pf::LogFontA& font,
                            const std::vector<TextPiece>& pieces,
                            std::uint32_t ground_rgb, bool opaque = false) {
  pf::Faults faults;
  pf::SoftGdi gdi(faults);
  pf::Surface surface;
  surface.resize(640, 480);
  std::fill(surface.pixels.begin(), surface.pixels.end(), ground_rgb);
  const pf::Hdc dc = gdi.open_dc(&surface);
  gdi.SelectObject(dc, gdi.CreateFontIndirectA(&font));
  gdi.SetBkMode(dc, opaque ? pf::OPAQUE : pf::TRANSPARENT);
  for (const TextPiece& piece : pieces) {
    gdi.SetTextColor(dc, piece.colour);
    gdi.TextOutA(dc, piece.x, piece.y, piece.cp932.data(),
                 static_cast<int>(piece.cp932.size()));
  }
  gdi.close_dc(dc);
  return Frame{surface.pixels, 640, 480};
}

inline int count_boxes(const RunResult& r, std::string_view caption,
                       std::string_view text) {
  const auto shown = r.of("message_box");
  return static_cast<int>(std::count_if(
      shown.begin(), shown.end(), [&](const Event& e) {
        return e.at("caption") == caption && e.at("text") == text;
      }));
}

// Events of one kind made by statement `step` (counted from 0).
inline std::vector<Event> of_step(const RunResult& r, int step,
                                  std::string_view kind) {
  std::vector<Event> out;
  for (const auto& e : r.of(kind))
    if (e.at("step") == std::to_string(step)) out.push_back(e);
  return out;
}

// Runs the statements, after loading the picture when `picture`, and keeps
// the last picture shown in shot.png and every frame under frames/.
inline RunResult run_text(Scenario& s, const std::string& statements,
                          bool picture = true) {
  s.write("pic.bmp", picture_bmp());
  s.script((picture ? "gload\"pic.bmp,0,0,0\"\n" : "") + statements + "end\n");
  return s.run({"--screenshot", s.dir() + "/shot.png", "--frames",
                s.dir() + "/frames"});
}
inline Frame frame_of(const Scenario& s, const Event& present) {
  char name[32];
  std::snprintf(name, sizeof name, "/frames/frame-%05d.png",
                std::stoi(present.at("frame")));
  return load_frame(s.dir() + name);
}

}  // namespace mowa::test
