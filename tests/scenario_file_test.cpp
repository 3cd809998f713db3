// Lines, comments and labels of the scenario file as the program reads them.
#include <gtest/gtest.h>

#include <filesystem>

#include "scenario_runner.h"

namespace mowa::test {
namespace {

TEST(ScenarioFile, CommentLinesAreNeverExecuted) {
  Scenario s;
  s.script("wait\"10\" #pause\nwait\"20\"#pause\n  # indented comment\n"
           "textmode [x]\nend\n");
  const RunResult r = s.run();
  ASSERT_EQ(r.of("sleep").size(), 1u);
  EXPECT_EQ(r.of("sleep")[0].at("ms"), "20");
  EXPECT_EQ(r.out, "");
}

TEST(ScenarioFile, LabelsWithCarriageReturnsAreFound) {
  Scenario s;
  s.write("data/mowa.snr", "goto\"a\"\r\ntextmode\r\n[a]\r\nscreen_big\r\nend\r\n");
  EXPECT_EQ(s.run().out, "[screen_big]\n");
}

TEST(ScenarioFile, CtrlZEndsTheFile) {
  Scenario s;
  s.write("data/mowa.snr", "textmode\n\x1a" "screen_big\nend\n");
  const RunResult r = s.run();
  EXPECT_EQ(r.out, "[textmode]\n");
  EXPECT_EQ(r.exit_code, 0);
}

TEST(ScenarioFile, TheFirstOfTwoLabelsWins) {
  Scenario s;
  s.script("goto\"a\"\nend\n[a]\nscreen_big\nend\n[b]\n[a]\ntextmode\nend\n");
  EXPECT_EQ(s.run().out, "[screen_big]\n");
}

TEST(ScenarioFile, LabelsThatCanNeverBeReached) {
  struct Case {
    const char* label_line;
    const char* jump;
  };
  for (const Case c : {Case{"  [a]", "a"}, Case{"[a] ", "a"},
                       Case{"[a]#x", "a"}, Case{"[my label]", "mylabel"}}) {
    Scenario s;
    s.script(std::string("goto\"") + c.jump + "\"\n" + c.label_line +
             "\ntextmode\nend\n");
    const RunResult r = s.run();
    EXPECT_EQ(r.out, "") << c.label_line;
    ASSERT_FALSE(r.box_texts().empty()) << c.label_line;
    EXPECT_EQ(r.box_texts()[0], std::string(c.jump) + "が見つからないの～、くすん。");
  }
}

TEST(ScenarioFile, ALastLabelLineWithoutLineFeedIsNotFound) {
  Scenario s;
  s.script("goto\"z\"\n[z]");
  EXPECT_EQ(s.run().box_texts().at(0), "zが見つからないの～、くすん。");
}

TEST(ScenarioFile, LongLinesCountAsSeveralLines) {
  // A line of 300 bytes is read as 255 bytes and then the remaining 46, so
  // the label after it sits on line 4 and check on line 6 reports that.
  Scenario s;
  s.script("goto\"a\"\n#" + std::string(299, 'x') + "\n[a]\nwait\"5\"\ncheck\"@01\"\nend\n");
  const RunResult r = s.run();
  ASSERT_EQ(r.box_texts().size(), 2u);
  EXPECT_EQ(r.box_texts()[0], "check=0(script_pointer=6)\n");
  EXPECT_EQ(r.of("sleep").size(), 1u);
}

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

TEST(ScenarioFile, LabelTooLongForItsEntryIsReportedAndLeftOut) {
  Scenario s;
  // "[0123456789abcdef]\n" fills its 20-byte entry; one byte more does not.
  s.script("goto\"0123456789abcdef\"\n[0123456789abcdefg]\nscreen_big\n"
           "[0123456789abcdef]\ntextmode\ngoto\"0123456789abcdefg\"\n");
  const RunResult r = s.run();
  const auto boxes = r.of("message_box");
  ASSERT_GE(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].at("caption"), "script_set_label");
  EXPECT_EQ(boxes[0].at("text"), "[0123456789abcdefg]が長すぎるの～、くすん。");
  EXPECT_EQ(r.out, "[textmode]\n");
  EXPECT_EQ(boxes[1].at("text"), "0123456789abcdefgが見つからないの～、くすん。");
}

TEST(ScenarioFile, LabelsBeyondTheThousandthAreReportedOnceAndLeftOut) {
  Scenario s;
  std::string text = "goto\"l999\"\n";
  for (int i = 0; i < 1002; ++i)
    text += "[l" + std::to_string(i) + "]\n" + (i == 999 ? "textmode\n" : "");
  text += "screen_big\ngoto\"l1000\"\n";
  s.script(text);
  const RunResult r = s.run();
  const auto boxes = r.box_texts();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0], "ラベルが多すぎるの～、くすん。");
  EXPECT_EQ(boxes[1], "l1000が見つからないの～、くすん。");
  EXPECT_EQ(r.out, "[textmode]\n[screen_big]\n");
}

}  // namespace
}  // namespace mowa::test
