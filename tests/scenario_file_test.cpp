// Lines, comments and labels of the scenario file as the program reads them,
// positioning in it by the index of line starts, and edits while it runs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "engine/interpreter.h"
#include "engine/label_table.h"
#include "support/in_process.h"
#include "support/scenario_runner.h"

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

// A label line that can never be reached: the goto to `label` finds none.
FileCase unreachable(const char* name, const std::string& label,
                     const std::string& label_line) {
  return {name,
          "goto\"" + label + "\"\n" + label_line + "\ntextmode\nend\n",
          {"", {not_found(label), kFarewell}}};
}

void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

class ScenarioText : public ::testing::TestWithParam<FileCase> {};

TEST_P(ScenarioText, IsReadAsLinesAndLabels) {
  Scenario s;
  s.script(GetParam().text);
  expect_outcome(s.run(), GetParam().expected);
}

Outcome goodbye(const char* out) {
  return {out, {kFarewell}, kFarewellCaption};
}
// Boxes under the caption of the label reader, which has no owner window.
Outcome label_boxes(const char* out, std::vector<std::string> boxes) {
  return {out, boxes + std::vector<std::string>{kFarewell}, "script_set_label",
          "none"};
}

INSTANTIATE_TEST_SUITE_P(
    Files, ScenarioText,
    ::testing::Values(
        // clang-format off
        FileCase{"comment_lines_are_never_executed",
                 "wait\"10\" #pause\nwait\"20\"#pause\n  # indented comment\n"
                 "textmode [x]\nend\n",
                 {"", {kFarewell}, kFarewellCaption, "main", {"20"}}},
        FileCase{"labels_with_carriage_returns",
                 "goto\"a\"\r\ntextmode\r\n[a]\r\nscreen_big\r\nend\r\n",
                 goodbye("[screen_big]\n")},
        FileCase{"ctrl_z_ends_the_file", "textmode\n\032screen_big\nend\n",
                 goodbye("[textmode]\n")},
        FileCase{"the_first_of_two_labels_wins",
            "goto\"a\"\nend\n[a]\nscreen_big\nend\n[b]\n[a]\ntextmode\nend\n",
            goodbye("[screen_big]\n")},
        unreachable("indented_label", "a", "  [a]"),
        unreachable("label_then_blank", "a", "[a] "),
        unreachable("label_then_comment", "a", "[a]#x"),
        unreachable("label_with_a_blank", "mylabel", "[my label]"),
        FileCase{"last_label_line_without_line_feed", "goto\"z\"\n[z]",
                 {"", {not_found("z"), kFarewell}}},
        // A line of 300 bytes is read as 255 bytes and then the remaining 46,
        // so the label after it sits on line 4 and check on line 6.
        FileCase{"long_lines_count_as_several",
                 "goto\"a\"\n#" + std::string(299, 'x') +
                     "\n[a]\nwait\"5\"\ncheck\"@01\"\nend\n",
                 {"", {check_box(0, 6), kFarewell}, "script_read", "main",
                  {"5"}}},
        // "[0123456789abcdef]\n" fills its 20-byte entry; one byte more does
        // not.
        FileCase{"label_too_long_for_its_entry",
                 "goto\"0123456789abcdef\"\n[0123456789abcdefg]\nscreen_big\n"
                 "[0123456789abcdef]\ntextmode\ngoto\"0123456789abcdefg\"\n",
                 label_boxes("[textmode]\n",
                             {"[0123456789abcdefg]が長すぎるの～、くすん。",
                              not_found("0123456789abcdefg")})},
        FileCase{"labels_past_the_thousandth", labels_past_the_thousandth(),
                 label_boxes("[textmode]\n[screen_big]\n",
                             {"ラベルが多すぎるの～、くすん。",
                              not_found("l1000")})}),
    // clang-format on
    [](const auto& info) { return std::string(info.param.name); });

// A FIFO in its place is refused at once, as a missing file, so that nothing
// waits for ever.
TEST(ScenarioFile, AMissingScenarioOrAFifoIsReportedTwiceAndEndsTheRun) {
  for (const bool fifo : {false, true}) {
    SCOPED_TRACE(fifo ? "FIFO" : "missing");
    Scenario s;
    if (fifo) {
      ASSERT_EQ(::mkfifo((s.dir() + "/data/mowa.snr").c_str(), 0600), 0);
    }
    const RunResult r = s.run();
    expect_outcome(
        r, label_boxes("", {not_found("mowa.snr"), not_found("mowa.snr")}));
    EXPECT_EQ(r.of("message_box").at(1).at("caption") + " " +
                  r.of("message_box").at(1).at("owner"),
              "script_read main");
  }
}

TEST(ScenarioFile, FileNamesIgnoreLetterCase) {
  Scenario s;
  std::filesystem::remove(std::filesystem::path(s.dir()) / "data");
  s.write("DATA/Mowa.SNR", "textmode\nend\n");
  EXPECT_EQ(s.run().out, "[textmode]\n");
}

// The line that the next read returns after script_seek to `n`.
std::string line_after_seek(InProcess& run, std::int32_t n, bool indexed) {
  run.p.script.use_line_index = indexed;
  pf::Stream* f = run.hp.files.fopen(".\\data\\mowa.snr", "rt");
  EXPECT_NE(f, nullptr);
  engine::script_seek(run.p.script, *f, n);
  char line[256];
  const char* got = f->fgets(line, 256);
  run.hp.files.fclose(f);
  return got ? std::string(line) : std::string("<end>");
}

TEST(ScenarioFile, IndexedSeekMatchesReadingLineByLine) {
  std::string many;  // lines reached from the index's entries, with lines of
  // two reads, CR LF and empty lines on and around their boundaries
  for (int i = 0; i < 70; ++i)
    many += i % 7 == 3   ? std::string(300 + i, 'x') + "\r\n"
            : i % 5 == 0 ? "\n"
                         : "line" + std::to_string(i) + "\n";
  const struct {
    std::string text;
    std::int32_t first, last;
  } files[] = {
      {"first\r\n\nsecond\rstill second\n" + std::string(300, 'a') + "\n" +
           std::string(600, 'b') + "\r\n" + std::string(254, 'c') + "\n" +
           std::string(255, 'd') + "\n[label]\r\nlast without line feed",
       -2, 15},
      {many, 1, 94},
      {"one\ntwo\n\x1a" + std::string("three\n"), 0, 5},
  };
  Scenario s;
  s.script("end\n");
  InProcess run(s);
  for (const auto& file : files) {
    s.write("data/mowa.snr", file.text);
    for (std::int32_t n = file.first; n <= file.last; ++n)
      EXPECT_EQ(line_after_seek(run, n, true), line_after_seek(run, n, false))
          << "line " << n;
  }
}

TEST(ScenarioFile, AnEditIsReadAtTheNextStepAndARemovalEndsTheRun) {
  Scenario s;
  s.script("check\"@01\"\ncheck\"@01\"\ncheck\"@01\"\nend\n");
  InProcess run(s);
  run.statement();
  // Same size, new statements: the step after the edit reads them.
  s.script("check\"@01\"\n@01=123456\ncheck\"@01\"\nend\n");
  std::filesystem::last_write_time(
      std::filesystem::path(s.dir()) / "data/mowa.snr",
      std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5));
  run.statement();
  run.statement();
  // A longer file is indexed again too.
  s.script("x\nx\nx\n\n\n\ncheck\"@01\"\nend\n");
  run.statement();
  EXPECT_EQ(run.boxes(), (std::vector<std::string>{
                             "script_read: check=0(script_pointer=1)\n",
                             "script_read: check=123456(script_pointer=3)\n",
                             "script_read: check=123456(script_pointer=7)\n"}));
  std::filesystem::remove(std::filesystem::path(s.dir()) / "data/mowa.snr");
  EXPECT_EQ(engine::script_read(run.p.script, run.p), 1);
}

}  // namespace
}  // namespace mowa::test
