// The bundled demo: its scenario uses the whole command table, the files it
// names are staged by the build in the forms the program reads, and it plays
// through mowa-headless to its end with the scripted clicks of
// demo/clicks.txt, showing no box but the farewell.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "engine/commands.h"
#include "engine/label_table.h"
#include "platform/common/midi_length.h"
#include "scenario_runner.h"

namespace mowa::test {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

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

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line + "\n");
  return lines;
}

std::vector<Statement> statements_of(const std::string& scenario) {
  std::vector<Statement> result;
  int number = 0;
  for (const std::string& line : lines_of(scenario)) {
    ++number;
    if (engine::is_empty_line(line.c_str()) ||
        engine::is_comment_or_label_line(line.c_str()))
      continue;
    std::string s;
    for (const char c : line)
      if (c != ' ' && c != '\t' && c != '\n') s += c;
    Statement st{number, "", ""};
    const std::size_t q = s.find('"');
    st.word = s[0] == '@' ? "@" : s.substr(0, q);
    if (q != std::string::npos) {
      const std::size_t close = s.find('"', q + 1);
      st.arguments =
          s.substr(q + 1, close == std::string::npos ? std::string::npos
                                                     : close - q - 1);
    }
    result.push_back(st);
  }
  return result;
}

std::vector<std::string> split(const std::string& s, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(s);
  while (std::getline(in, part, separator)) parts.push_back(part);
  return parts;
}

std::string demo_scenario_utf8() {
  return slurp(source_path("demo/data/mowa.utf8.snr"));
}

TEST(DemoScenario, UsesEveryCommandOfTheTableAndNoOtherWord) {
  const auto statements = statements_of(demo_scenario_utf8());
  ASSERT_FALSE(statements.empty());
  std::set<std::string> used;
  for (const Statement& s : statements) {
    const engine::CommandEntry& entry = engine::find_command(s.word.c_str());
    // A misspelt word would silently run as dummy.
    EXPECT_EQ(s.word, entry.name) << "line " << s.line << " names no command";
    used.insert(entry.name);
  }
  for (const engine::CommandEntry& entry : engine::kCommandTable)
    EXPECT_TRUE(used.count(entry.name)) << entry.name << " is not in the demo";
}

TEST(DemoScenario, LoadsPicturesInEveryModeAndDrawsSpritesBothWays) {
  std::set<std::string> gload_modes, sprite_opaque, wav_loops;
  for (const Statement& s : statements_of(demo_scenario_utf8())) {
    const auto args = split(s.arguments, ',');
    if (s.word == "gload" && args.size() == 4) gload_modes.insert(args[3]);
    if (s.word == "character" && args.size() == 5)
      sprite_opaque.insert(args[3]);
    if (s.word == "play_wav" && args.size() == 2) wav_loops.insert(args[1]);
  }
  EXPECT_EQ(gload_modes, (std::set<std::string>{"0", "1", "2"}));
  EXPECT_EQ(sprite_opaque, (std::set<std::string>{"0", "1"}));
  EXPECT_EQ(wav_loops, (std::set<std::string>{"0", "1"}));
}

TEST(DemoScenario, FitsTheLimitsOfTheScenarioFile) {
  const std::string cp932 = to_cp932(demo_scenario_utf8());
  int number = 0;
  for (const std::string& line : lines_of(cp932)) {
    ++number;
    // Longer lines would be read as two.
    EXPECT_LE(line.size(), 255u) << "line " << number;
    if (line[0] == '[') {
      EXPECT_LE(line.size() + 1, 20u) << "label on line " << number;
    }
  }
}

#ifdef MOWA_DEMO_DIR

std::uint32_t le32(const std::string& b, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1]))
             << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2]))
             << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3]))
             << 24;
}

std::uint32_t le16(const std::string& b, std::size_t at) {
  return le32(b.substr(at, 2) + std::string(2, '\0'), 0);
}

// A file name as the scenario writes it, as a path below the demo folder.
fs::path staged(std::string name) {
  if (name.rfind(".\\", 0) == 0) name.erase(0, 2);
  std::replace(name.begin(), name.end(), '\\', '/');
  return fs::path(MOWA_DEMO_DIR) / name;
}

TEST(DemoFiles, EveryFileTheScenarioNamesIsStagedInTheFormItIsReadIn) {
  int checked = 0;
  for (const Statement& s : statements_of(demo_scenario_utf8())) {
    std::string name;
    if (s.word == "gload" || s.word == "character" || s.word == "play_wav")
      name = split(s.arguments, ',')[0];
    else if (s.word == "play_midi")
      name = s.arguments;
    else
      continue;
    SCOPED_TRACE("line " + std::to_string(s.line) + ": " + name);
    const std::string b = slurp(staged(name));
    ASSERT_FALSE(b.empty()) << "not staged";
    ++checked;
    if (s.word == "gload") {
      ASSERT_EQ(b.size(), 308278u);  // the one size the loader is made for
      EXPECT_EQ(b.substr(0, 2), "BM");
      EXPECT_EQ(le32(b, 18), 640u);
      EXPECT_EQ(le32(b, 22), 480u);
      EXPECT_EQ(le16(b, 28), 8u);
    } else if (s.word == "character") {
      ASSERT_GE(b.size(), 1078u);
      const std::uint32_t w = le32(b, 18), h = le32(b, 22);
      EXPECT_TRUE(w >= 1 && w <= 640 && h >= 1 && h <= 480);
      EXPECT_EQ(le16(b, 28), 8u);
      // 256 colours, then h rows padded to 4 bytes.
      EXPECT_EQ(b.size(), 1078u + (w + 3) / 4 * 4 * h);
      // A figure with transparent room round it.
      const auto clear = std::count(b.begin() + 1078, b.end(), '\0');
      EXPECT_GT(clear, 0);
      EXPECT_LT(clear, static_cast<long>(b.size() - 1078));
    } else if (s.word == "play_wav") {
      ASSERT_GE(b.size(), 44u);
      EXPECT_EQ(b.substr(0, 4), "RIFF");
      EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
      EXPECT_EQ(le16(b, 20), 1u);   // PCM
      EXPECT_EQ(le16(b, 34), 16u);  // bits a sample
      EXPECT_EQ(b.size(), 44u + le32(b, 40));
    } else {
      ASSERT_GE(b.size(), 14u);
      EXPECT_EQ(b.substr(0, 4), "MThd");
      const std::span<const std::uint8_t> bytes(
          reinterpret_cast<const std::uint8_t*>(b.data()), b.size());
      const auto length_ms = pf::midi_length_ms(bytes);
      ASSERT_TRUE(length_ms.has_value());
      EXPECT_GE(*length_ms, 2000);  // a tune of a few seconds
      EXPECT_LE(*length_ms, 30000);
    }
  }
  EXPECT_GE(checked, 10);
}

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

  std::vector<std::string> sounds;
  for (const Event& e : r.of("play_sound"))
    sounds.push_back(e.at("file") + " " + e.at("flags"));
  for (const char* expected :
       {"data\\crickets.wav 131081", "null 131073", "data\\dice.wav 131073",
        "data\\chime.wav 131073", "data\\pop.wav 131073"})
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), expected), sounds.end())
        << expected;
  std::vector<std::string> mci;
  for (const Event& e : r.of("mci")) {
    EXPECT_EQ(e.at("result"), "0") << e.at("command");
    mci.push_back(e.at("command"));
  }
  ASSERT_GE(mci.size(), 3u);
  EXPECT_NE(mci.front().find("theme.mid type sequencer alias myseq"),
            std::string::npos);
  EXPECT_EQ(mci[1], "play myseq notify");
  EXPECT_EQ(mci.back(), "close myseq");

  // Two dice were rolled, saved and loaded back: variable 11 holds 2.
  const std::string save = folder_.read("data/save.dat");
  ASSERT_EQ(save.size(), 400u);
  EXPECT_EQ(save.substr(44, 4), std::string("\0\0\0\2", 4));
  EXPECT_GT(r.of("present").size(), 100u);
}

TEST_F(DemoRun, RightClickShowsTheDiceCountInACheckBox) {
  int check_line = 0;
  for (const Statement& s : statements_of(demo_scenario_utf8()))
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
