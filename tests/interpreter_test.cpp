// The interpreter seen from outside: scenarios run through mowa-headless,
// observed through `check` boxes, trace lines, the event log and, for
// --trace (one line a statement on standard error), the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "support/scenario_runner.h"
#include "support/window_capture.h"

namespace mowa::test {
namespace {

// With variable 01 = `value` and 02 = 10, leaves 01 at 1 where `condition`
// jumps to its YES label "small", at 0 where it jumps to "big".
std::string branch(const std::string& value, const std::string& condition) {
  return "@01=" + value + "\n@02=10\nif\"" + condition +
         ",small,big\"\n[big]\n@01=0\ngoto\"done\"\n[small]\n@01=1\n[done]\n";
}

TEST(Interpreter, AssignmentsAndConditionsSetTheVariable) {
  const struct {
    const char* name;
    std::string statements;  // before a final check"@01" and end
    long expected;
  } cases[] = {
      {"literal", "@01=5\n", 5},
      {"negative", "@01=-7\n", -7},
      {"leading_minus_is_the_operator", "@01=-5*2\n", -5},
      {"quotient_truncates_toward_zero", "@01=7/-2\n", -3},
      {"only_one_operator", "@01=1+2+3\n", 3},
      {"variable_times_literal", "@02=5\n@01=@02*3\n", 15},
      {"variable_minus_variable", "@02=5\n@03=9\n@01=@02-@03\n", -4},
      {"copy", "@02=12\n@01=@02\n", 12},
      {"addition_wraps", "@01=2147483647+1\n", -2147483647L - 1},
      {"literal_wraps", "@01=4294967297\n", 1},
      {"smallest_over_minus_one", "@02=-2147483648\n@01=@02/-1\n",
       -2147483647L - 1},
      {"blanks_removed", "@01 = 4 * 5\n", 20},
      {"digits_stop_at_other_bytes", "@01=12abc\n", 12},
      {"unknown_operator_byte_stores_nothing", "@01=3\n@01=@02x4\n", 0},
      {"rand_follows_the_recurrence", "rand\"@01\"\n", 38},
      {"if_less_holds", branch("9", "@01<10"), 1},
      {"if_less_fails_at_equal", branch("10", "@01<10"), 0},
      {"if_greater", branch("11", "@01>10"), 1},
      {"if_equal", branch("10", "@01=10"), 1},
      {"if_signed_compare", branch("-1", "@01<0"), 1},
      {"if_variable_operand", branch("9", "@01<@02"), 1},
      {"if_other_operator_is_false", branch("9", "@01!10"), 0},
      {"comment_lines_count_for_the_check_line",
       "@01=-4\n" + repeated("# a comment\n", 10), -4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Scenario s;
    const long lines = static_cast<long>(
        std::count(c.statements.begin(), c.statements.end(), '\n'));
    s.script(c.statements + "check\"@01\"\nend\n");
    expect_outcome(s.run(),
                   {"", {check_box(c.expected, lines + 1), kFarewell}});
  }
}

TEST(Interpreter, RunsShowTheTraceTheBoxesAndTheSleeps) {
  const std::string long_name(81, 'a');
  const std::string undefined = "dummy or not defined\n";
  const std::string not_found = "が見つからないの～、くすん。";
  const std::string too_long = long_name + "が長すぎるの～、くすん。";
  const auto goodbye = [](const std::string& out) {
    return Outcome{out, {kFarewell}, kFarewellCaption};
  };
  const struct {
    const char* name;
    std::string script;
    std::vector<std::string> options;
    Outcome expected;
    const char* exit_step = "";  // the statements completed and the time at
    const char* exit_ms = "";    // the end, when given
  } cases[] = {
      // clang-format off
      {"division_by_zero_stores_nothing",
       "@01=9\n@01=@01/0\ncheck\"@01\"\nend\n", {},
       {"", {"0で割れないの～、くすん。", check_box(9, 3), kFarewell}}},
      // The generator seeded with 1 gives 41, 18467, 6334.
      {"rand_seeded_from_the_calendar_time",
       "rand\"@01\"\nrand\"@02\"\nrand\"@03\"\ncheck\"@01\"\ncheck\"@02\"\n"
       "check\"@03\"\nend\n", {"--time", "1"},
       {"", {check_box(41, 4), check_box(18467, 5), check_box(6334, 6),
             kFarewell}}},
      {"return_before_gosub_runs_the_first_statement_twice",
       "screen_big\n@01=@01+1\nif\"@01<2,back,out\"\n[back]\nreturn\n[out]\n"
       "end\n", {}, goodbye(repeated("[screen_big]\n", 3))},
      // The inner gosub overwrites the one return slot: both returns come
      // back to the line after it, until the step limit.
      {"gosub_returns_to_the_line_after_the_last_gosub",
       "gosub\"sub\"\nscreen_small\ngosub\"outer\"\ntextmode\nend\n[sub]\n"
       "screen_big\nreturn\n[outer]\ngosub\"sub\"\ndummy\nreturn\n",
       {"--max-steps", "40"},
       {"[screen_big]\n[screen_small]\n[screen_big]\n" +
        repeated(undefined, 16), {}, "", "", {}, 3}},
      {"undefined_words_trace_and_go_on",
       "foo\"x\"\nGoto\"a\"\ndummy\n\"top\"\n[top]\nscreen_small\n"
       "goto  \"my label\"\ntextmode\n[mylabel]\nscreen_big\nend\n", {},
       goodbye(repeated(undefined, 3) + "[screen_small]\n[screen_big]\n")},
      {"missing_label_ends_the_run", "goto\"nowhere\"\ntextmode\n", {},
       {"", {"nowhere" + not_found, kFarewell}}},
      {"end_of_file_ends_the_run_like_end",
       "textmode\n\n   \t\n# the end\ntextmode", {},
       goodbye("[textmode]\n[textmode]\n")},
      {"bad_variable_reference_names_no_variable",
       "@0a=5\n@01=@x1+2\ncheck\"@01\"\nend\n", {},
       {"", {"@0aは変数じゃないの～、くすん。",
             "@x1は変数じゃないの～、くすん。", check_box(2, 3), kFarewell}}},
      {"file_name_longer_than_80_bytes",
       "gload\"" + long_name + ",0,0,0\"\nplay_wav\"" + long_name +
       ",0\"\nend\n", {}, {"", {too_long, too_long, kFarewell}}},
      {"wait_sleeps_only_for_counts_of_zero_or_more",
       "wait\"1000\"\n@07=25\nwait\"@07\"\nwait\"-1\"\nwait\"0\"\nend\n", {},
       {"", {kFarewell}, kFarewellCaption, "main", {"1000", "25", "0"}},
       "6", "1025"},
      // Short lists, a missing NO label, a lone quote: nothing is read past
      // the statement (the sanitizer build would notice) and the run goes on.
      {"missing_arguments_read_as_zero_within_the_statement",
       "boxfill\"1,2\"\nscreen_copy\nnumber_write\"5\ntext_write\"abc\n"
       "gload\"\nwait\"\ncheck\"\"\nif\"@01=0,yes\"\n[yes]\ntextmode\n"
       "if\"@01=1,yes\"\n", {},
       {"[textmode]\n", {not_found, "\"は変数じゃないの～、くすん。",
                         check_box(0, 7), not_found, kFarewell},
        "opendib", "main", {"0"}}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Scenario s;
    s.script(c.script);
    const RunResult r = s.run(c.options);
    expect_outcome(r, c.expected);
    if (*c.exit_step) {
      EXPECT_EQ(r.of("exit").at(0).at("step"), c.exit_step);
      EXPECT_EQ(r.of("exit").at(0).at("t"), c.exit_ms);
    }
  }
}

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
      // lines 1-4
      "@01=2\n[loop]\n@01=@01-1\nif \"@01>0,loop,done\"\n"
      // lines 5-9
      "[done]\n  dummy\ngosub\"sub\"\ncheck\"@01\"\ngoto\"nowhere\"\n"
      // lines 10-14
      "[sub]\n# the subroutine\nget_mouse_position\"@02,@03\"\n"
      "message\"はい\"\nreturn\n");
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
        "rand\"@01\"\n@02=@01/16384\nif\"@02=0,red,blue\"\n"
        "[red]\nboxfill\"0,0,100,100,255\"\nend\n[blue]\nboxfill\"0,0,100,100,"
        "16711680\"\nend\n");
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
