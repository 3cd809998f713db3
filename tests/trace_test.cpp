// --trace seen from outside: one line a statement on standard error, in
// step with the event log and with what the window shows.
#include <gtest/gtest.h>

#include <sstream>

#include "scenario_runner.h"
#include "window_capture.h"

namespace mowa::test {
namespace {

// The trace lines of a run: standard error without the runner's own lines.
std::vector<std::string> trace_lines(const std::string& err) {
  std::vector<std::string> lines;
  std::istringstream in(err);
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line.rfind("mowa-headless:", 0) != 0)
      lines.push_back(line);
  return lines;
}

TEST(Trace, EveryStatementWithItsJumpAndItsChangedVariables) {
  Scenario s;
  s.script(
      "@01=2\n"
      "[loop]\n"
      "@01=@01-1\n"
      "if \"@01>0,loop,done\"\n"
      "[done]\n"
      "  dummy\n"
      "gosub\"sub\"\n"
      "check\"@01\"\n"
      "goto\"nowhere\"\n"
      "[sub]\n"
      "# the subroutine\n"
      "get_mouse_position\"@02,@03\"\n"
      "message\"はい\"\n"
      "return\n");
  const RunResult r = s.run({"--trace"}, "0 move 30 40\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::vector<std::string> expected = {
      "1: @01=2  @01 0 → 2",
      "3: @01=@01-1  @01 2 → 1",
      "4: if \"@01>0,loop,done\" → 3",
      "3: @01=@01-1  @01 1 → 0",
      "4: if \"@01>0,loop,done\" → 6",
      "6:   dummy",
      "7: gosub\"sub\" → 11",
      "12: get_mouse_position\"@02,@03\"  @02 0 → 30  @03 0 → 40",
      "13: message\"はい\"",
      "14: return → 8",
      "8: check\"@01\"",
      "9: goto\"nowhere\" → no such label",
  };
  EXPECT_EQ(trace_lines(r.err), expected);
  // Standard output keeps only the program's own trace line.
  EXPECT_EQ(r.out, "dummy or not defined\n");

  // The event log counts the statements completed when the check box shows;
  // as many trace lines come before the runner's line for that box, and the
  // check's own line comes right after it.
  std::string step;
  for (const Event& box : r.of("message_box"))
    if (box.at("text").rfind("check=", 0) == 0) step = box.at("step");
  EXPECT_EQ(step, "10");
  const std::size_t box_at =
      r.err.find("mowa-headless: box [script_read] check=0");
  ASSERT_NE(box_at, std::string::npos);
  const std::vector<std::string> before = trace_lines(r.err.substr(0, box_at));
  EXPECT_EQ(std::to_string(before.size()), step);
  EXPECT_EQ(trace_lines(r.err.substr(box_at))[0], "8: check\"@01\"");
}

TEST(Trace, TheJumpShownIsTheBranchTheWindowShowsAndTheRunsEnd) {
  // rand decides the branch; the trace says which, the screenshot shows it.
  int reds = 0, blues = 0;
  for (const char* time : {"1", "1700000000", "123456789", "1700000003"}) {
    Scenario s;
    s.script(
        "rand\"@01\"\n"
        "@02=@01/16384\n"
        "if\"@02=0,red,blue\"\n"
        "[red]\n"
        "boxfill\"0,0,100,100,255\"\n"
        "end\n"
        "[blue]\n"
        "boxfill\"0,0,100,100,16711680\"\n"
        "end\n");
    const PictureRun run = run_pictures(s, {"--trace", "--time", time});
    const std::vector<std::string> lines = trace_lines(run.result.err);
    ASSERT_EQ(lines.size(), 5u) << run.result.err;
    const bool red = lines[2] == "3: if\"@02=0,red,blue\" → 5";
    EXPECT_TRUE(red || lines[2] == "3: if\"@02=0,red,blue\" → 8") << lines[2];
    EXPECT_EQ(lines[3].substr(0, 2), red ? "5:" : "8:");
    EXPECT_EQ(lines[4], red ? "6: end" : "9: end");
    EXPECT_EQ(at(run.screenshot, 50, 50), red ? 0xFF0000u : 0x0000FFu) << time;
    (red ? reds : blues)++;
  }
  EXPECT_GT(reds, 0);
  EXPECT_GT(blues, 0);
}

}  // namespace
}  // namespace mowa::test
