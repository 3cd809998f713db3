// Filled and outlined boxes drawn straight on the window, pixel for pixel
// (end to end), and their effect on the next paint (in-process).
#include <gtest/gtest.h>

#include "bmp_writer.h"
#include "in_process.h"
#include "window_capture.h"

namespace mowa::test {
namespace {

void fill(Pixels& p, int x1, int y1, int x2, int y2, std::uint32_t rgb) {
  for (int y = y1; y < y2; ++y)
    for (int x = x1; x < x2; ++x)
      if (x >= 0 && y >= 0 && x < kWindowWidth && y < kWindowHeight)
        p[static_cast<std::size_t>(y * kWindowWidth + x)] = rgb;
}

// The outline takes columns x1 and x2 and rows y1 and y2, corners included.
void outline(Pixels& p, int x1, int y1, int x2, int y2, std::uint32_t rgb) {
  fill(p, x1, y1, x2 + 1, y1 + 1, rgb);
  fill(p, x1, y2, x2 + 1, y2 + 1, rgb);
  fill(p, x1, y1, x1 + 1, y2 + 1, rgb);
  fill(p, x2, y1, x2 + 1, y2 + 1, rgb);
}

TEST(Boxes, AreDrawnPixelForPixelInTheirColours) {
  Scenario s;
  s.write("a.bmp", block_picture().file());
  s.script("gload\"a.bmp,0,0,0\"\n"
           "boxfill\"10,20,30,40,255\"\n"
           "box\"10,60,30,80,65280\"\n"
           "boxfill\"600,-5,700,3,16777215\"\n"
           "box\"620,470,700,500,16711680\"\n"
           "boxfill\"300,300,300,400,0\"\nend\n");
  const PictureRun run = run_pictures(s);
  EXPECT_TRUE(run.errors().empty());
  Pixels expected = drawn(block_picture());
  fill(expected, 10, 20, 30, 40, 0xFF0000);
  outline(expected, 10, 60, 30, 80, 0x00FF00);
  fill(expected, 600, -5, 700, 3, 0xFFFFFF);
  outline(expected, 620, 470, 700, 500, 0x0000FF);
  EXPECT_TRUE(same_pixels(run.screenshot, expected));
  // Each box is presented as soon as its device context is released.
  EXPECT_EQ(run.frames.size(), 5u);
}

TEST(Boxes, CancelThePendingRedrawOfTheScreenImage) {
  // The copy sets the repaint flag, the box clears it: the paint of the
  // last gload draws nothing, so neither the copy nor the old picture
  // replaces the box.
  Scenario s;
  s.write("a.bmp", block_picture().file());
  s.script("gload\"a.bmp,0,0,0\"\nscreen_copy\"0,0,640,480,0,0\"\n"
           "box\"5,5,50,50,255\"\ngload\"-,0,0,3\"\nend\n");
  Pixels expected = drawn(block_picture());
  outline(expected, 5, 5, 50, 50, 0xFF0000);
  EXPECT_TRUE(same_pixels(run_in_process(s).screenshot, expected));
}

}  // namespace
}  // namespace mowa::test
