// The bundled demo: its scenario uses the whole command table in every form
// (its words and limits are mowa-lint's to check); it plays through
// mowa-headless to its end with the scripted clicks of demo/clicks.txt,
// showing no box but the farewell (so every file it names was staged in a
// form the program reads); and it does so too when any one call of a service
// fails: played once for each service and each of its first calls (then
// calls sampled evenly over the rest), every run must reach the end within
// its step budget, report every failure in a box with a caption, release
// every lock, device context, GDI object, memory block and file, and leave
// save.dat either as it was or as the demo writes it.
//
// MOWA_FAULT_SWEEP=full samples many more calls of each service.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/commands.h"
#include "engine/label_table.h"
#include "support/scenario_runner.h"

namespace mowa::test {
namespace {

namespace fs = std::filesystem;

std::string source_path(const std::string& relative) {
  return std::string(MOWA_SOURCE_DIR) + "/" + relative;
}

std::vector<std::string> split(const std::string& s, char separator) {
  std::vector<std::string> parts;
  std::istringstream in(s);
  for (std::string part; std::getline(in, part, separator);)
    parts.push_back(part);
  return parts;
}

// One statement of the scenario as the interpreter takes it apart: blanks
// removed, the command word, and the text between the first two quotes.
struct Statement {
  int line;
  std::string word;
  std::vector<std::string> arguments;
};

std::vector<Statement> demo_statements() {
  std::vector<Statement> result;
  int number = 0;
  for (std::string line :
       split(slurp(source_path("demo/data/mowa.utf8.snr")), '\n')) {
    ++number;
    line += '\n';
    if (engine::is_empty_line(line.c_str()) ||
        engine::is_comment_or_label_line(line.c_str()))
      continue;
    std::erase_if(line,
                  [](char c) { return c == ' ' || c == '\t' || c == '\n'; });
    const std::size_t q = line.find('"');
    const std::size_t close =
        q == std::string::npos ? q : line.find('"', q + 1);
    result.push_back({number, line[0] == '@' ? "@" : line.substr(0, q),
                      q == std::string::npos
                          ? std::vector<std::string>{}
                          : split(line.substr(q + 1, close - q - 1), ',')});
  }
  return result;
}

TEST(DemoScenario, UsesEveryCommandOfTheTableInEveryForm) {
  std::set<std::string> used, gload_modes, sprite_opaque, wav_loops;
  for (const Statement& s : demo_statements()) {
    used.insert(s.word);
    if (s.word == "gload" && s.arguments.size() == 4)
      gload_modes.insert(s.arguments[3]);
    if (s.word == "character" && s.arguments.size() == 5)
      sprite_opaque.insert(s.arguments[3]);
    if (s.word == "play_wav" && s.arguments.size() == 2)
      wav_loops.insert(s.arguments[1]);
  }
  for (const engine::CommandEntry& entry : engine::kCommandTable)
    EXPECT_TRUE(used.count(entry.name)) << entry.name << " is not in the demo";
  EXPECT_EQ(gload_modes, (std::set<std::string>{"0", "1", "2"}));
  EXPECT_EQ(sprite_opaque, (std::set<std::string>{"0", "1"}));
  EXPECT_EQ(wav_loops, (std::set<std::string>{"0", "1"}));
}

#ifdef MOWA_DEMO_DIR

// The staged demo in a folder of its own, so that its save file stays there.
class DemoRun : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& entry :
         fs::directory_iterator(fs::path(MOWA_DEMO_DIR) / "data"))
      if (entry.path().filename() != "save.dat")
        folder_.write("data/" + entry.path().filename().string(),
                      slurp(entry.path()));
  }
  // The demo ends after about 2,700 statements; a click that comes when the
  // demo does not wait for one leaves it waiting until the limit.
  RunResult play(std::vector<std::string> options = {}) const {
    options.insert(options.begin(), {"--max-steps", "20000"});
    return folder_.run(options, slurp(source_path("demo/clicks.txt")));
  }
  Scenario folder_;
};

TEST_F(DemoRun, PlaysToItsEndWithTheScriptedClicksAndOnlyTheFarewellBox) {
  const RunResult r = play();
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.box_texts(), std::vector<std::string>{kFarewell}) << r.err;
  EXPECT_EQ(r.out,
            "[textmode]\n[screen_big]\n[screen_small]\ndummy or not defined\n");

  std::set<std::string> sounds;
  for (const Event& e : r.of("play_sound"))
    sounds.insert(e.at("file") + " " + e.at("flags"));
  for (const char* expected :
       {"data\\crickets.wav 131081", "null 131073", "data\\dice.wav 131073",
        "data\\chime.wav 131073", "data\\pop.wav 131073"})
    EXPECT_TRUE(sounds.count(expected)) << expected;
  std::vector<std::string> mci;
  for (const Event& e : r.of("mci"))
    mci.push_back(e.at("command") + " -> " + e.at("result"));
  ASSERT_GE(mci.size(), 3u);
  EXPECT_NE(mci.front().find("theme.mid type sequencer alias myseq -> 0"),
            std::string::npos);
  EXPECT_EQ(mci[1], "play myseq notify -> 0");
  EXPECT_EQ(mci.back(), "close myseq -> 0");
  for (const std::string& m : mci)
    EXPECT_EQ(m.substr(m.size() - 5), " -> 0") << m;

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

// The calls of a service with `count` calls that the sweep makes fail.
std::set<std::uint64_t> sampled_calls(std::uint64_t count, bool full) {
  const std::uint64_t first = full ? 50 : 2, spread = full ? 50 : 2;
  std::set<std::uint64_t> calls;
  for (std::uint64_t n = 1; n <= count && n <= first; ++n) calls.insert(n);
  for (std::uint64_t i = 1; i <= spread && count > first; ++i)
    calls.insert(first + (count - first) * i / spread);
  return calls;
}

// The services are dealt out to a few shards, so that the suite runs them
// side by side.
constexpr int kShards = 4;
class FaultSweepOfTheDemo : public DemoRun,
                            public ::testing::WithParamInterface<int> {};

TEST_P(FaultSweepOfTheDemo, SurvivesAnyOneFailingCall) {
  const bool full = std::getenv("MOWA_FAULT_SWEEP") &&
                    std::string(std::getenv("MOWA_FAULT_SWEEP")) == "full";
  const std::string old_save(400, '\x5a');
  const auto run = [&](const std::vector<std::string>& options) {
    folder_.write("data/save.dat", old_save);
    std::error_code ec;
    fs::remove(folder_.dir() + "/data/save.dat.new", ec);
    return play(options);
  };
  const RunResult clean = run({});
  ASSERT_EQ(clean.exit_code, 0) << clean.err;
  const std::string new_save = folder_.read("data/save.dat");
  ASSERT_EQ(new_save.size(), 400u);
  ASSERT_NE(new_save, old_save);
  std::map<std::string, std::uint64_t> calls;
  for (const Event& e : clean.of("calls"))
    calls[e.at("service")] = std::stoull(e.at("count"));
  ASSERT_GT(calls.size(), 10u);

  // A release that fails may leave the one thing it could not release.
  const std::map<std::string, std::string> kept = {
      {"DeleteObject", "gdi_objects"},
      {"GlobalFree", "blocks"},
      {"LocalFree", "blocks"}};
  int runs = 0, index = 0;
  for (const auto& [service, count] : calls) {
    if (index++ % kShards != GetParam()) continue;
    for (const std::uint64_t n : sampled_calls(count, full)) {
      const std::string fault = service + "@" + std::to_string(n);
      const RunResult r = run({"--fail", fault});
      ++runs;
      const std::string why = fault + "\n" + r.err;
      EXPECT_EQ(r.exit_code, 0) << why;
      EXPECT_EQ(r.err.find("runtime error"), std::string::npos) << why;
      EXPECT_EQ(r.err.find("Sanitizer"), std::string::npos) << why;
      for (const Event& box : r.of("message_box"))
        EXPECT_NE(box.at("caption"), "") << fault << ": " << box.at("text");
      const auto held_at_end = r.of("held");
      ASSERT_EQ(held_at_end.size(), 1u) << fault;
      for (const char* held :
           {"gdi_objects", "dcs", "blocks", "locked_blocks", "files"}) {
        const auto it = kept.find(service);
        const int allowed = it != kept.end() && it->second == held ? 1 : 0;
        EXPECT_LE(std::stoi(held_at_end[0].at(held)), allowed)
            << fault << " left " << held;
      }
      const std::string save = folder_.read("data/save.dat");
      EXPECT_TRUE(save == old_save || save == new_save)
          << fault << ": save.dat of " << save.size();
      EXPECT_FALSE(folder_.exists("data/save.dat.new")) << fault;
    }
  }
  std::printf("fault sweep: %d runs over a share of %zu services\n", runs,
              calls.size());
}

INSTANTIATE_TEST_SUITE_P(Shards, FaultSweepOfTheDemo,
                         ::testing::Range(0, kShards));

#endif  // MOWA_DEMO_DIR

}  // namespace
}  // namespace mowa::test
