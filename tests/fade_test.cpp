// The two fades: twenty painted steps at the exact levels, each step its own
// frame, and the colours that remain afterwards.
#include <gtest/gtest.h>

#include "bmp_writer.h"
#include "window_capture.h"

namespace mowa::test {
namespace {

// A component c at level k shows as floor(c * k / 19).
Rgb at_level(Rgb c, int k) {
  auto level = [k](std::uint8_t v) {
    return static_cast<std::uint8_t>(v * k / 19);
  };
  return {level(c.r), level(c.g), level(c.b)};
}

std::vector<Rgb> colours_at_level(const Bmp& b, int k) {
  std::vector<Rgb> c;
  for (const Rgb& full : b.colours) c.push_back(at_level(full, k));
  return c;
}

struct FadeCase {
  const char* name;
  const char* statements;  // after loading a.bmp
  int first_frame;          // the frame of the first step
  int first_level, step;
  int delay_ms;
};
void PrintTo(const FadeCase& c, std::ostream* os) { *os << c.name; }

class Fade : public ::testing::TestWithParam<FadeCase> {};

TEST_P(Fade, PaintsEveryLevelOnceAndWaitsBetween) {
  const FadeCase& c = GetParam();
  const Bmp a = block_picture();
  Scenario s;
  s.write("a.bmp", a.file());
  s.script(std::string("gload\"a.bmp,0,0,0\"\n") + c.statements + "end\n");
  const PictureRun run = run_pictures(s);
  EXPECT_TRUE(run.errors().empty());
  ASSERT_EQ(run.frames.size(), static_cast<std::size_t>(c.first_frame + 20));
  for (int i = 0; i < 20; ++i) {
    const int level = c.first_level + i * c.step;
    EXPECT_TRUE(same_pixels(run.frames[c.first_frame + i],
                            drawn(a, colours_at_level(a, level))))
        << "step " << i << ", level " << level;
  }
  const auto sleeps = run.result.of("sleep");
  ASSERT_EQ(sleeps.size(), 20u);
  for (const Event& e : sleeps) EXPECT_EQ(e.at("ms"), std::to_string(c.delay_ms));
}

INSTANTIATE_TEST_SUITE_P(
    Levels, Fade,
    ::testing::Values(
        FadeCase{"out", "screen_black_out\"30\"\n", 1, 19, -1, 30},
        FadeCase{"in_after_a_hidden_load", "gload\"a.bmp,0,0,1\"\nscreen_black_in\"7\"\n", 2, 0, 1, 7},
        FadeCase{"in_on_a_shown_picture", "screen_black_in\"0\"\n", 1, 0, 1, 0},
        FadeCase{"negative_delay_does_not_wait", "screen_black_out\"-5\"\n", 1, 19, -1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Fade, OutLeavesTheWindowBlackAndTheFullColoursForTheNextDraw) {
  // The display shows a DIB in its own colour table, which the fade-out
  // restores: the next draw shows the picture again.
  Scenario s;
  s.write("a.bmp", block_picture().file());
  s.script("gload\"a.bmp,0,0,0\"\nscreen_black_out\"0\"\nend\n");
  EXPECT_TRUE(same_pixels(run_pictures(s).screenshot, black_window()));
  s.script("gload\"a.bmp,0,0,0\"\nscreen_black_out\"0\"\n"
           "screen_copy\"0,0,0,0,0,0\"\ngload\"-,0,0,3\"\nend\n");
  EXPECT_TRUE(same_pixels(run_pictures(s).screenshot, drawn(block_picture())));
}

}  // namespace
}  // namespace mowa::test
