// The bundled demo: its scenario uses the whole command table, and it plays
// through mowa-headless to its end with the scripted clicks of
// demo/clicks.txt, showing no box but the farewell (so every file it names
// was staged in a form the program reads).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/commands.h"
#include "engine/label_table.h"
#include "scenario_runner.h"

namespace mowa::test {
namespace {

namespace fs = std::filesystem;

std::string source_path(const std::string& relative) {
  return std::string(MOWA_SOURCE_DIR) + "/" + relative;
}

// One statement of the scenario as the interpreter takes it apart: blanks
// removed, the command word, and the text between the first two quotes.
struct Statement {
  int line;
  std::string word;
  std::string arguments;
};

std::vector<std::string> split(const std::string& s, char separator) {
  std::vector<std::string> parts;
  std::istringstream in(s);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}

std::vector<Statement> demo_statements() {
  std::vector<Statement> result;
  int number = 0;
  for (std::string line : split(slurp(source_path("demo/data/mowa.utf8.snr")), '\n')) {
    ++number;
    line += '\n';
    if (engine::is_empty_line(line.c_str()) || engine::is_comment_or_label_line(line.c_str()))
      continue;
    std::erase_if(line, [](char c) { return c == ' ' || c == '\t' || c == '\n'; });
    const std::size_t q = line.find('"');
    const std::size_t close = q == std::string::npos ? q : line.find('"', q + 1);
    result.push_back({number, line[0] == '@' ? "@" : line.substr(0, q),
                      q == std::string::npos ? "" : line.substr(q + 1, close - q - 1)});
  }
  return result;
}

TEST(DemoScenario, UsesEveryCommandOfTheTableInEveryFormAndNoOtherWord) {
  std::set<std::string> used, gload_modes, sprite_opaque, wav_loops;
  for (const Statement& s : demo_statements()) {
    const engine::CommandEntry& entry = engine::find_command(s.word.c_str());
    // A misspelt word would silently run as dummy.
    EXPECT_EQ(s.word, entry.name) << "line " << s.line << " names no command";
    used.insert(entry.name);
    const auto args = split(s.arguments, ',');
    if (s.word == "gload" && args.size() == 4) gload_modes.insert(args[3]);
    if (s.word == "character" && args.size() == 5) sprite_opaque.insert(args[3]);
    if (s.word == "play_wav" && args.size() == 2) wav_loops.insert(args[1]);
  }
  for (const engine::CommandEntry& entry : engine::kCommandTable)
    EXPECT_TRUE(used.count(entry.name)) << entry.name << " is not in the demo";
  EXPECT_EQ(gload_modes, (std::set<std::string>{"0", "1", "2"}));
  EXPECT_EQ(sprite_opaque, (std::set<std::string>{"0", "1"}));
  EXPECT_EQ(wav_loops, (std::set<std::string>{"0", "1"}));
}

TEST(DemoScenario, FitsTheLimitsOfTheScenarioFile) {
  int number = 0;
  for (const std::string& line :
       split(to_cp932(slurp(source_path("demo/data/mowa.utf8.snr"))), '\n')) {
    ++number;
    // Longer lines would be read as two; labels have a length of their own.
    EXPECT_LE(line.size() + 1, 255u) << "line " << number;
    EXPECT_TRUE(line[0] != '[' || line.size() + 2 <= 20u) << "label on line " << number;
  }
}

#ifdef MOWA_DEMO_DIR

// The staged demo in a folder of its own, so that its save file stays there.
class DemoRun : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& entry :
         fs::directory_iterator(fs::path(MOWA_DEMO_DIR) / "data")) {
      if (entry.path().filename() == "save.dat") continue;
      folder_.write("data/" + entry.path().filename().string(),
                    slurp(entry.path()));
    }
  }
  Scenario folder_;
};

TEST_F(DemoRun, PlaysToItsEndWithTheScriptedClicksAndOnlyTheFarewellBox) {
  // The demo ends after about 2,700 statements; a click that comes when the
  // demo does not wait for one leaves it waiting until the limit.
  const RunResult r = folder_.run({"--max-steps", "20000"},
                                  slurp(source_path("demo/clicks.txt")));
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.box_texts(), std::vector<std::string>{"ばいばいもわもわ～！！"})
      << r.err;
  EXPECT_EQ(r.out,
            "[textmode]\n[screen_big]\n[screen_small]\ndummy or not defined\n");

  std::set<std::string> sounds;
  for (const Event& e : r.of("play_sound")) sounds.insert(e.at("file") + " " + e.at("flags"));
  for (const char* expected : {"data\\crickets.wav 131081", "null 131073", "data\\dice.wav 131073",
                               "data\\chime.wav 131073", "data\\pop.wav 131073"})
    EXPECT_TRUE(sounds.count(expected)) << expected;
  std::vector<std::string> mci;
  for (const Event& e : r.of("mci")) mci.push_back(e.at("command") + " -> " + e.at("result"));
  ASSERT_GE(mci.size(), 3u);
  EXPECT_NE(mci.front().find("theme.mid type sequencer alias myseq -> 0"), std::string::npos);
  EXPECT_EQ(mci[1], "play myseq notify -> 0");
  EXPECT_EQ(mci.back(), "close myseq -> 0");
  for (const std::string& m : mci) EXPECT_EQ(m.substr(m.size() - 5), " -> 0") << m;

  // Two dice were rolled, saved and loaded back: variable 11 holds 2.
  const std::string save = folder_.read("data/save.dat");
  ASSERT_EQ(save.size(), 400u);
  EXPECT_EQ(save.substr(44, 4), std::string("\0\0\0\2", 4));
  EXPECT_GT(r.of("present").size(), 100u);
}

TEST_F(DemoRun, RightClickShowsTheDiceCountInACheckBox) {
  int check_line = 0;
  for (const Statement& s : demo_statements())
    if (s.word == "check") check_line = s.line;
  ASSERT_NE(check_line, 0);
  const RunResult r = folder_.run({"--max-steps", "300"},
                                  "100 move 320 240\n100 rdown\n110 rup\n");
  EXPECT_EQ(r.exit_code, 3) << r.err;
  EXPECT_EQ(r.box_texts(),
            std::vector<std::string>{"check=0(script_pointer=" +
                                     std::to_string(check_line) + ")\n"});
}

#endif  // MOWA_DEMO_DIR

}  // namespace
}  // namespace mowa::test
