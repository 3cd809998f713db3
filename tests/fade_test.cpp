// The two fades: twenty painted steps at the exact levels, each step its own
// frame, and the colours that remain afterwards. In-process, with the first
// case also run end to end through mowa-headless.
#include <gtest/gtest.h>

#include "support/bmp_writer.h"
#include "support/in_process.h"
#include "support/window_capture.h"

namespace mowa::test {
namespace {

// A component c at level k shows as floor(c * k / 19).
std::vector<Rgb> colours_at_level(const Bmp& b, int k) {
  std::vector<Rgb> c;
  for (const Rgb& f : b.colours)
    c.push_back({static_cast<std::uint8_t>(f.r * k / 19),
                 static_cast<std::uint8_t>(f.g * k / 19),
                 static_cast<std::uint8_t>(f.b * k / 19)});
  return c;
}

// After the fade-out the window is black, but the display shows a DIB in its
// own colour table, which the fade restores: the next draw shows the picture.
TEST(Fade, PaintsEveryLevelOnceAndWaitsBetween) {
  const Bmp a = block_picture();
  const struct {
    const char* statements;  // after loading a.bmp
    int first_frame;         // the frame of the first step
    int first_level, step;
    const char* delay_ms;
    Pixels last;  // what the window shows at the end
    std::size_t frames_after = 0;
  } cases[] = {
      {"screen_black_out\"30\"\n", 1, 19, -1, "30", black_window()},
      {"gload\"a.bmp,0,0,1\"\nscreen_black_in\"7\"\n", 2, 0, 1, "7", drawn(a)},
      {"screen_black_in\"0\"\n", 1, 0, 1, "0", drawn(a)},
      {"screen_black_out\"-5\"\n", 1, 19, -1, "0",
       black_window()},  // does not wait
      {"screen_black_out\"0\"\nscreen_copy\"0,0,0,0,0,0\"\ngload\"-,0,0,3\"\n",
       1, 19, -1, "0", drawn(a), 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.statements);
    Scenario s;
    s.write("a.bmp", a.file());
    s.script(std::string("gload\"a.bmp,0,0,0\"\n") + c.statements + "end\n");
    const PictureRun run = &c == cases ? run_pictures(s) : run_in_process(s);
    EXPECT_EQ(run.errors(), std::vector<std::string>{});
    ASSERT_EQ(run.frames.size(),
              static_cast<std::size_t>(c.first_frame) + 20 + c.frames_after);
    for (int i = 0; i < 20; ++i) {
      const int level = c.first_level + i * c.step;
      EXPECT_TRUE(same_pixels(run.frames[c.first_frame + i],
                              drawn(a, colours_at_level(a, level))))
          << "step " << i << ", level " << level;
    }
    EXPECT_EQ(run.result.values("sleep", "ms"),
              std::vector<std::string>(20, c.delay_ms));
    EXPECT_TRUE(same_pixels(run.screenshot, c.last));
  }
}

}  // namespace
}  // namespace mowa::test
