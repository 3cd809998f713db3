// The main loop may sleep only while the scenario runs a loop that does
// nothing but poll the mouse and finds everything as on its previous round.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/headless/headless_platform.h"
#include "scenario_runner.h"
#include "shell/program.h"

namespace mowa::test {
namespace {

TEST(MousePoll, OnlyALoopThatComesRoundUnchangedLetsTheLoopSleep) {
  // A click loop that marks each click; the second click lands where the
  // first did.
  Scenario s;
  s.script(
      "[wait]\n"
      "get_mouse_state\"@01\"\n"
      "if\"@01=0,wait,down\"\n"
      "[down]\n"
      "get_mouse_position\"@02,@03\"\n"
      "boxfill\"@02,@03,@02,@03,255\"\n"
      "[up]\n"
      "get_mouse_state\"@01\"\n"
      "if\"@01=1,up,wait\"\n");
  const shell::Mouse still{5, 6, 0, 0};
  const shell::Mouse pressed{5, 6, 1, 0};
  struct Step {
    const char* what;
    shell::Mouse mouse;  // as the window procedure left it
    bool sleeps;
  };
  const Step steps[] = {
      {"first read of the wait loop", still, false},
      {"if", still, false},
      {"the wait loop comes round unchanged", still, true},
      {"if", still, false},
      {"and again", still, true},
      {"if", still, false},
      {"the press is read", pressed, false},
      {"if", pressed, false},
      {"the position right after the buttons", pressed, false},
      {"the mark", pressed, false},
      {"first read of the release loop", pressed, false},
      {"if", pressed, false},
      {"the release loop comes round unchanged", pressed, true},
      {"if", pressed, false},
      {"the release is read", still, false},
      {"if", still, false},
      {"the wait loop with the new position in the variables", still, false},
      {"if", still, false},
      {"the wait loop comes round unchanged", still, true},
      {"if", still, false},
      {"a press where the last one was", pressed, false},
      {"if", pressed, false},
      {"the position as at the last press, but a mark came between",
       pressed, false},
  };

  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(s.dir());
  {
    pf::HeadlessPlatform hp(stdout);
    Program p(hp.platform());
    ASSERT_TRUE(p.start(pf::SW_SHOWNORMAL));
    for (const Step& step : steps) {
      p.shell.mouse = step.mouse;
      Program::Turn turn = p.step();
      while (turn == Program::Turn::kMessage) turn = p.step();
      EXPECT_EQ(turn == Program::Turn::kMouseUnchanged, step.sleeps) << step.what;
    }
    p.finish();
  }
  std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace mowa::test
