// The main loop may wait for input only after a statement that read the
// mouse and found it as at the previous read.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/interpreter.h"
#include "engine/label_table.h"
#include "platform/headless/headless_platform.h"
#include "scenario_runner.h"
#include "shell/program.h"

namespace mowa::test {
namespace {

TEST(MousePoll, OnlyAnUnchangedMouseReadLetsTheLoopWait) {
  struct Step {
    const char* statement_kind;
    shell::Mouse mouse_before;  // the window procedure's view before it runs
    bool unchanged;
  };
  const shell::Mouse still{};
  const shell::Mouse moved{5, 6, 0, 0};
  const shell::Mouse pressed{5, 6, 1, 0};
  // One scenario line per step, in this order.
  Scenario s;
  s.script(
      "get_mouse_state\"@01\"\n"
      "get_mouse_state\"@01\"\n"
      "if\"@01=0,next,next\"\n[next]\n"
      "get_mouse_position\"@02,@03\"\n"
      "get_mouse_position\"@02,@03\"\n"
      "get_mouse_state\"@01\"\n"
      "get_mouse_state\"@01\"\n"
      "end\n");
  const Step steps[] = {
      {"first read of an untouched mouse", still, true},
      {"read again", still, true},
      {"a statement that reads nothing", still, false},
      {"position after a move", moved, false},
      {"position again", moved, true},
      {"state after a press", pressed, false},
      {"state again", pressed, true},
  };
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(s.dir());
  pf::HeadlessPlatform hp(stdout);
  Program p(hp.platform());
  engine::script_set_label(p.script);
  for (const Step& step : steps) {
    p.shell.mouse = step.mouse_before;
    p.shell.mouse_poll.unchanged = false;  // as the idle step does
    ASSERT_EQ(engine::script_read(p.script, p), 0) << step.statement_kind;
    EXPECT_EQ(p.shell.mouse_poll.unchanged, step.unchanged) << step.statement_kind;
  }
  std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace mowa::test
