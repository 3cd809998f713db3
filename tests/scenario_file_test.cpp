// Lines, comments and labels of the scenario file as the program reads them.
#include <gtest/gtest.h>

#include <filesystem>

#include "scenario_runner.h"

namespace mowa::test {
namespace {

std::string not_found(const std::string& label) {
  return label + "が見つからないの～、くすん。";
}

std::string labels_past_the_thousandth() {
  std::string text = "goto\"l999\"\n";
  for (int i = 0; i < 1002; ++i)
    text += "[l" + std::to_string(i) + "]\n" + (i == 999 ? "textmode\n" : "");
  return text + "screen_big\ngoto\"l1000\"\n";
}

struct FileCase {
  const char* name;
  std::string text;  // the scenario file, UTF-8 for code page 932
  Outcome expected;
};

void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

class ScenarioText : public ::testing::TestWithParam<FileCase> {};

TEST_P(ScenarioText, IsReadAsLinesAndLabels) {
  Scenario s;
  s.script(GetParam().text);
  expect_outcome(s.run(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ScenarioText,
    ::testing::Values(
        FileCase{"comment_lines_are_never_executed",
                 "wait\"10\" #pause\nwait\"20\"#pause\n  # indented comment\n"
                 "textmode [x]\nend\n",
                 {"", {kFarewell}, kFarewellCaption, "main", {"20"}}},
        FileCase{"labels_with_carriage_returns",
                 "goto\"a\"\r\ntextmode\r\n[a]\r\nscreen_big\r\nend\r\n",
                 {"[screen_big]\n", {kFarewell}, kFarewellCaption}},
        FileCase{"ctrl_z_ends_the_file", "textmode\n\x1a" "screen_big\nend\n",
                 {"[textmode]\n", {kFarewell}, kFarewellCaption}},
        FileCase{"the_first_of_two_labels_wins",
                 "goto\"a\"\nend\n[a]\nscreen_big\nend\n[b]\n[a]\ntextmode\nend\n",
                 {"[screen_big]\n", {kFarewell}, kFarewellCaption}},
        // Labels that can never be reached.
        FileCase{"indented_label", "goto\"a\"\n  [a]\ntextmode\nend\n",
                 {"", {not_found("a"), kFarewell}}},
        FileCase{"label_then_blank", "goto\"a\"\n[a] \ntextmode\nend\n",
                 {"", {not_found("a"), kFarewell}}},
        FileCase{"label_then_comment", "goto\"a\"\n[a]#x\ntextmode\nend\n",
                 {"", {not_found("a"), kFarewell}}},
        FileCase{"label_with_a_blank", "goto\"mylabel\"\n[my label]\ntextmode\nend\n",
                 {"", {not_found("mylabel"), kFarewell}}},
        FileCase{"last_label_line_without_line_feed", "goto\"z\"\n[z]",
                 {"", {not_found("z"), kFarewell}}},
        // A line of 300 bytes is read as 255 bytes and then the remaining 46,
        // so the label after it sits on line 4 and check on line 6.
        FileCase{"long_lines_count_as_several",
                 "goto\"a\"\n#" + std::string(299, 'x') +
                     "\n[a]\nwait\"5\"\ncheck\"@01\"\nend\n",
                 {"", {"check=0(script_pointer=6)\n", kFarewell}, "script_read", "main", {"5"}}},
        // "[0123456789abcdef]\n" fills its 20-byte entry; one byte more does not.
        FileCase{"label_too_long_for_its_entry",
                 "goto\"0123456789abcdef\"\n[0123456789abcdefg]\nscreen_big\n"
                 "[0123456789abcdef]\ntextmode\ngoto\"0123456789abcdefg\"\n",
                 {"[textmode]\n",
                  {"[0123456789abcdefg]が長すぎるの～、くすん。",
                   not_found("0123456789abcdefg"), kFarewell},
                  "script_set_label", "none"}},
        FileCase{"labels_past_the_thousandth", labels_past_the_thousandth(),
                 {"[textmode]\n[screen_big]\n",
                  {"ラベルが多すぎるの～、くすん。", not_found("l1000"), kFarewell},
                  "script_set_label", "none"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScenarioFile, MissingScenarioIsReportedTwiceAndEndsTheRun) {
  Scenario s;
  const RunResult r = s.run();
  const auto boxes = r.of("message_box");
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].at("caption"), "script_set_label");
  EXPECT_EQ(boxes[0].at("owner"), "none");
  EXPECT_EQ(boxes[0].at("text"), "mowa.snrが見つからないの～、くすん。");
  EXPECT_EQ(boxes[1].at("caption"), "script_read");
  EXPECT_EQ(boxes[1].at("owner"), "main");
  EXPECT_EQ(boxes[2].at("text"), "ばいばいもわもわ～！！");
  EXPECT_EQ(r.exit_code, 0);
}

TEST(ScenarioFile, FileNamesIgnoreLetterCase) {
  Scenario s;
  std::filesystem::remove(std::filesystem::path(s.dir()) / "data");
  s.write("DATA/Mowa.SNR", "textmode\nend\n");
  EXPECT_EQ(s.run().out, "[textmode]\n");
}

}  // namespace
}  // namespace mowa::test
