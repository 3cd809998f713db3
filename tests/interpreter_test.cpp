// The interpreter seen from outside: scenarios run through mowa-headless,
// observed through `check` boxes, trace lines and the event log.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "scenario_runner.h"

namespace mowa::test {
namespace {

std::string check_text(long value, long line) {
  return "check=" + std::to_string(value) + "(script_pointer=" +
         std::to_string(line) + ")\n";
}

TEST(Assignment, StoresTheValue) {
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
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Scenario s;
    const long lines = static_cast<long>(std::count(c.statements.begin(), c.statements.end(), '\n'));
    s.script(c.statements + "check\"@01\"\nend\n");
    const RunResult r = s.run();
    EXPECT_EQ(r.box_texts(), (std::vector<std::string>{check_text(c.expected, lines + 1), kFarewell}));
    EXPECT_EQ(r.exit_code, 0) << r.err;
  }
}

const std::string kLong(81, 'a');

struct RunCase {
  const char* name;
  std::string script;
  std::vector<std::string> options;
  Outcome expected;
};

void PrintTo(const RunCase& c, std::ostream* os) { *os << c.name; }

class RunTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(RunTest, ShowsTheTraceAndTheBoxes) {
  Scenario s;
  s.script(GetParam().script);
  expect_outcome(s.run(GetParam().options), GetParam().expected);
}

std::string comment_lines(int from, int to) {
  std::string text;
  for (int i = from; i < to; ++i) text += "# line " + std::to_string(i) + "\n";
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, RunTest,
    ::testing::Values(
        RunCase{"division_by_zero_stores_nothing",
                "@01=9\n@01=@01/0\ncheck\"@01\"\nend\n", {},
                {"", {"0で割れないの～、くすん。", check_text(9, 3), kFarewell}}},
        // The generator seeded with 1 gives 41, 18467, 6334.
        RunCase{"rand_seeded_from_the_calendar_time",
                "rand\"@01\"\nrand\"@02\"\nrand\"@03\"\ncheck\"@01\"\n"
                "check\"@02\"\ncheck\"@03\"\nend\n",
                {"--time", "1"},
                {"", {check_text(41, 4), check_text(18467, 5), check_text(6334, 6), kFarewell}}},
        RunCase{"check_shows_its_own_line",
                "@03=-4\n" + comment_lines(2, 12) + "check\"@03\"\nend\n", {},
                {"", {"check=-4(script_pointer=12)\n", kFarewell}}},
        RunCase{"return_before_gosub_runs_the_first_statement_twice",
                "screen_big\n@01=@01+1\nif\"@01<2,back,out\"\n[back]\nreturn\n"
                "[out]\nend\n", {},
                {"[screen_big]\n[screen_big]\n[screen_big]\n", {kFarewell}, kFarewellCaption}},
        RunCase{"undefined_words_trace_and_go_on",
                "foo\"x\"\nGoto\"a\"\ndummy\n\"top\"\n[top]\nscreen_small\n"
                "goto  \"my label\"\ntextmode\n[mylabel]\nscreen_big\nend\n", {},
                {"dummy or not defined\ndummy or not defined\ndummy or not defined\n"
                 "[screen_small]\n[screen_big]\n", {kFarewell}, kFarewellCaption}},
        RunCase{"missing_label_ends_the_run", "goto\"nowhere\"\ntextmode\n", {},
                {"", {"nowhereが見つからないの～、くすん。", kFarewell}}},
        RunCase{"end_of_file_ends_the_run_like_end",
                "textmode\n\n   \t\n# the end\ntextmode", {},
                {"[textmode]\n[textmode]\n", {kFarewell}, kFarewellCaption}},
        RunCase{"bad_variable_reference_names_no_variable",
                "@0a=5\n@01=@x1+2\ncheck\"@01\"\nend\n", {},
                {"", {"@0aは変数じゃないの～、くすん。", "@x1は変数じゃないの～、くすん。",
                      check_text(2, 3), kFarewell}}},
        RunCase{"file_name_longer_than_80_bytes",
                "gload\"" + kLong + ",0,0,0\"\nplay_wav\"" + kLong + ",0\"\nend\n", {},
                {"", {kLong + "が長すぎるの～、くすん。", kLong + "が長すぎるの～、くすん。",
                      kFarewell}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(If, JumpsToYesOrNo) {
  const struct {
    const char* name;
    const char* value;  // of variable 01
    const char* condition;
    const char* expected;  // the label taken
  } cases[] = {
        {"less_holds", "9", "@01<10,small,big", "small"},
        {"less_fails_at_equal", "10", "@01<10,small,big", "big"},
        {"greater", "11", "@01>10,small,big", "small"},
        {"equal", "10", "@01=10,small,big", "small"},
        {"signed_compare", "-1", "@01<0,small,big", "small"},
        {"variable_operand", "9", "@01<@02,small,big", "small"},
        {"other_operator_is_false", "9", "@01!10,small,big", "big"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Scenario s;
    s.script(std::string("@01=") + c.value + "\n@02=10\nif\"" + c.condition +
             "\"\n[small]\ntextmode\nend\n[big]\nscreen_big\nend\n");
    EXPECT_EQ(s.run().out, std::string(c.expected) == "small" ? "[textmode]\n" : "[screen_big]\n");
  }
}

TEST(Interpreter, GosubReturnsToTheLineAfterTheLastGosub) {
  Scenario s;
  s.script(
      "gosub\"sub\"\n"      // 1
      "screen_small\n"      // 2
      "gosub\"outer\"\n"    // 3
      "textmode\n"          // 4
      "end\n"               // 5
      "[sub]\n"             // 6
      "screen_big\n"        // 7
      "return\n"            // 8
      "[outer]\n"           // 9
      "gosub\"sub\"\n"      // 10: overwrites the slot
      "dummy\n"             // 11
      "return\n");          // 12
  const RunResult r = s.run({"--max-steps", "40"});
  // Both returns after the inner gosub come back to line 11.
  const std::string head = "[screen_big]\n[screen_small]\n[screen_big]\n";
  ASSERT_EQ(r.out.substr(0, head.size()), head);
  std::string rest;
  for (int i = 0; i < 16; ++i) rest += "dummy or not defined\n";
  EXPECT_EQ(r.out.substr(head.size()), rest);
  EXPECT_EQ(r.exit_code, 3);
}

TEST(Interpreter, WaitSleepsOnlyForCountsOfZeroOrMore) {
  Scenario s;
  s.script("wait\"1000\"\n@07=25\nwait\"@07\"\nwait\"-1\"\nwait\"0\"\nend\n");
  const RunResult r = s.run();
  std::vector<std::string> sleeps;
  for (const auto& e : r.of("sleep")) sleeps.push_back(e.at("ms"));
  EXPECT_EQ(sleeps, (std::vector<std::string>{"1000", "25", "0"}));
  EXPECT_EQ(r.of("exit").at(0).at("t"), "1025");
}

TEST(Interpreter, ThreeStatementsTakeThreeSteps) {
  Scenario s;
  s.script("@01=5\n@02=@01*3\nend\n");
  const RunResult r = s.run();
  EXPECT_EQ(r.of("exit").at(0).at("step"), "3");
}

TEST(Interpreter, MissingArgumentsReadAsZeroWithinTheStatement) {
  Scenario s;
  // Short lists, a missing NO label, a lone quote: nothing is read past the
  // statement (the sanitizer build would notice) and the run goes on.
  s.script("boxfill\"1,2\"\nscreen_copy\nnumber_write\"5\ntext_write\"abc\n"
           "gload\"\nwait\"\ncheck\"\"\nif\"@01=0,yes\"\n[yes]\ntextmode\n"
           "if\"@01=1,yes\"\n");
  const RunResult r = s.run();
  EXPECT_EQ(r.out, "[textmode]\n");
  const auto boxes = r.box_texts();
  ASSERT_GE(boxes.size(), 3u);
  EXPECT_EQ(boxes[boxes.size() - 2], "が見つからないの～、くすん。");
  EXPECT_EQ(r.exit_code, 0);
}

}  // namespace
}  // namespace mowa::test
