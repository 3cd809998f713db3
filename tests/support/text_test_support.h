// Helpers for the text tests: a picture to load behind the text, ink
// measured in a window picture, and what the software GDI draws for a
// request, as the reference a frame must equal.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "bmp_writer.h"
#include "in_process.h"
#include "platform/common/faults.h"
#include "platform/softgdi/soft_gdi.h"
#include "scenario_runner.h"
#include "window_capture.h"

namespace mowa::test {

constexpr std::uint32_t kWhiteRgb = 0xFFFFFF;
constexpr std::uint32_t kRedRgb = 0xFF0000;
constexpr std::uint32_t kBlueRgb = 0x0000FF;
// The picture behind the text: a colour that no text colour is.
constexpr Rgb kPictureColour{0x20, 0x30, 0x60};
constexpr std::uint32_t kPictureRgb = packed(kPictureColour);

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
inline Ink ink(const Pixels& p, std::uint32_t rgb, bool is = true,
               Area a = {0, 0, kWindowWidth, kWindowHeight}) {
  Ink k{0, Area{a.right, a.bottom, a.left, a.top}};
  for (int y = a.top; y < a.bottom; ++y)
    for (int x = a.left; x < a.right; ++x) {
      if ((at(p, x, y) == rgb) != is) continue;
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
  std::memcpy(lf.lfFaceName,
              "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E", 13);
  return lf;
}

struct TextPiece {
  int x, y;
  std::string cp932;
  pf::ColorRef colour = 0xFFFFFF;
};
// What the software GDI shows for the pieces drawn over the picture colour.
inline Pixels reference_text(const pf::LogFontA& font,
                             const std::vector<TextPiece>& pieces) {
  pf::Faults faults;
  pf::SoftGdi gdi(faults);
  pf::Surface surface;
  surface.resize(kWindowWidth, kWindowHeight);
  std::fill(surface.pixels.begin(), surface.pixels.end(), kPictureRgb);
  const pf::Hdc dc = gdi.open_dc(&surface);
  gdi.SelectObject(dc, gdi.CreateFontIndirectA(&font));
  gdi.SetBkMode(dc, pf::TRANSPARENT);
  for (const TextPiece& piece : pieces) {
    gdi.SetTextColor(dc, piece.colour);
    gdi.TextOutA(dc, piece.x, piece.y, piece.cp932.data(),
                 static_cast<int>(piece.cp932.size()));
  }
  gdi.close_dc(dc);
  return surface.pixels;
}

// The frames presented by statement `step` (counted from 0).
inline std::vector<Pixels> frames_of_step(const PictureRun& run, int step) {
  std::vector<Pixels> out;
  for (const auto& e : run.result.of("present"))
    if (e.at("step") == std::to_string(step))
      out.push_back(run.frames.at(std::stoul(e.at("frame")) - 1));
  return out;
}

// Runs the statements end to end (or in-process), after loading a picture
// of kPictureRgb when `picture`.
inline PictureRun run_text(const std::string& statements, bool picture = true,
                           bool in_process = false) {
  Scenario s;
  Bmp bmp;
  bmp.pixels.assign(kWindowWidth * kWindowHeight, 1);
  bmp.colours[1] = kPictureColour;
  s.write("pic.bmp", bmp.file());
  s.script((picture ? "gload\"pic.bmp,0,0,0\"\n" : "") + statements + "end\n");
  return in_process ? run_in_process(s) : run_pictures(s);
}

}  // namespace mowa::test
