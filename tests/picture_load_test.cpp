// Loading pictures with gload: the four modes, the file forms that load and
// the ones that are reported as broken without changing anything. The modes
// run end to end through mowa-headless, the file forms in-process.
#include <gtest/gtest.h>

#include <functional>

#include "bmp_writer.h"
#include "in_process.h"
#include "window_capture.h"

namespace mowa::test {
namespace {

const std::string kFirst = "gload\"a.bmp,0,0,0\"\n";

// Mode 0 shows the picture in its colours at its position, in one frame;
// mode 2 shows the screen pixels in the back picture's colours, painted
// again; mode 1 keeps the new picture black until it fades in; mode 3 loads
// nothing but still paints, here the copy from the still empty back image
// (index 0), and the position stays at (0, 0).
TEST(Gload, ShowsThePictureAtItsPositionInTheColoursOfItsMode) {
  const Bmp a = block_picture(), b = other_picture();
  Bmp copied = a;
  for (int y = 380; y < 480; ++y)
    for (int x = 0; x < 100; ++x) copied.pixels[y * 640 + x] = 0;
  const struct {
    std::string statements;
    Pixels expected;
    std::size_t frames;
    int black_frame = -1;  // a frame that shows nothing
  } cases[] = {
      {kFirst, drawn(a), 1},
      {"gload\"a.bmp,-30,25,0\"\n", drawn(a, a.colours, -30, 25), 1},
      {kFirst + "gload\"b.bmp,0,0,2\"\n", drawn(a, b.colours), 2},
      {kFirst + "gload\"b.bmp,0,0,1\"\nscreen_black_in\"0\"\n", drawn(b), 22, 1},
      {kFirst + "screen_copy\"0,0,100,100,0,0\"\ngload\"missing.bmp,50,50,3\"\n",
       drawn(copied), 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.statements);
    Scenario s;
    s.write("a.bmp", a.file());
    s.write("b.bmp", b.file());
    s.script(c.statements + "end\n");
    const PictureRun run = run_pictures(s);
    EXPECT_TRUE(run.errors().empty());
    ASSERT_EQ(run.frames.size(), c.frames);
    if (c.black_frame >= 0) {
      EXPECT_TRUE(same_pixels(run.frames[c.black_frame], black_window()));
    }
    EXPECT_TRUE(same_pixels(run.screenshot, c.expected));
  }
}

// A loadable form shows as the file holds it; colour entries the file lacks
// show black.
TEST(Gload, ShowsEveryLoadableFormAsItIs) {
  const struct {
    const char* name;
    std::function<void(Bmp&)> change;
  } cases[] = {
      {"standard", [](Bmp&) {}},
      {"image size stated", [](Bmp& b) { b.size_image = 307200; }},
      {"three bytes behind", [](Bmp& b) { b.trailing_bytes = 3; }},
      {"many bytes behind", [](Bmp& b) { b.trailing_bytes = 400; }},
      {"sixteen colours", [](Bmp& b) { b.use_colours(16); }},
      {"top down", [](Bmp& b) { b.top_down = true; }},
      {"gap before pixels", [](Bmp& b) { b.gap_bytes = 98; }},
      {"run-length coded", [](Bmp& b) { b.run_length = true; }},
      {"v5 header, two colours, top down",
       [](Bmp& b) {
         b.info_bytes = 124;
         b.use_colours(2);
         b.top_down = true;
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bmp picture = block_picture();
    c.change(picture);
    Scenario s;
    s.write("p.bmp", picture.file());
    s.script("gload\"p.bmp,0,0,0\"\nend\n");
    const PictureRun run = run_in_process(s);
    EXPECT_EQ(run.errors(), std::vector<std::string>{});
    EXPECT_TRUE(same_pixels(run.screenshot, drawn(picture)));
  }
}

// A broken file is reported with the reason; the picture, its colours and
// its position stay as they were.
TEST(Gload, ReportsABrokenFileAndChangesNothing) {
  const char kBroken[] = "がこわれているの～、くすん。";
  const char kCutShort[] = "が途中で切れているの～、くすん。";
  const struct {
    const char* name;
    std::function<void(Bmp&)> change;
    const char* reason;  // after the file name
  } cases[] = {
      {"taller by one", [](Bmp& b) { b = sprite(640, 481, [](int, int) { return 1; }); },
       "は640×480じゃないの～、くすん。"},
      {"run-length on four bits wrongly",
       [](Bmp& b) {
         b.compression = 1;
         b.bits_per_pixel = 4;
       },
       "は読めない圧縮なの～、くすん。"},
      {"header of no known size", [](Bmp& b) { b.info_bytes = 20; }, "はBMPじゃないの～、くすん。"},
      {"header cut short", [](Bmp& b) { b.keep_bytes = 30; }, kCutShort},
      {"too many colours", [](Bmp& b) { b.use_colours(300); }, kBroken},
      {"sixteen colours truncated",
       [](Bmp& b) {
         b.use_colours(16);
         b.keep_bytes = 300000;
       },
       kCutShort},
      {"run-length cut short",
       [](Bmp& b) {
         b.run_length = true;
         b.keep_bytes = 5000;
       },
       kCutShort},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bmp broken = block_picture();
    c.change(broken);
    Scenario s;
    s.write("a.bmp", other_picture().file());
    s.write("p.bmp", broken.file());
    s.script("gload\"a.bmp,0,0,0\"\ngload\"p.bmp,30,30,0\"\nend\n");
    const PictureRun run = run_in_process(s);
    EXPECT_EQ(run.errors(), std::vector<std::string>{std::string("opendib: p.bmp") + c.reason});
    EXPECT_TRUE(same_pixels(run.screenshot, drawn(other_picture())));
  }
}

}  // namespace
}  // namespace mowa::test
