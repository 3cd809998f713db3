// The demo played once for each service that can be made to fail and each
// of its first calls (then calls sampled evenly over the rest), that one
// call failing. Every run must still reach the demo's end within its step
// budget, report every failure in a box with a caption, release every lock,
// device context, GDI object, memory block and file, and leave save.dat
// either as it was or as the demo writes it.
//
// MOWA_FAULT_SWEEP=full samples many more calls of each service.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "scenario_runner.h"

#ifdef MOWA_DEMO_DIR

namespace mowa::test {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
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
class FaultSweepOfTheDemo : public ::testing::TestWithParam<int> {};

TEST_P(FaultSweepOfTheDemo, SurvivesAnyOneFailingCall) {
  const bool full = std::getenv("MOWA_FAULT_SWEEP") && std::string(std::getenv("MOWA_FAULT_SWEEP")) == "full";
  Scenario folder;
  for (const auto& entry : fs::directory_iterator(fs::path(MOWA_DEMO_DIR) / "data"))
    if (entry.path().filename() != "save.dat")
      folder.write("data/" + entry.path().filename().string(), slurp(entry.path()));
  const std::string clicks = slurp(std::string(MOWA_SOURCE_DIR) + "/demo/clicks.txt");
  const std::string old_save(400, '\x5a');
  const auto run = [&](const std::vector<std::string>& options) {
    folder.write("data/save.dat", old_save);
    std::error_code ec;
    fs::remove(folder.dir() + "/data/save.dat.new", ec);
    std::vector<std::string> all = {"--max-steps", "20000"};
    all.insert(all.end(), options.begin(), options.end());
    return folder.run(all, clicks);
  };

  const RunResult clean = run({});
  ASSERT_EQ(clean.exit_code, 0) << clean.err;
  const std::string new_save = folder.read("data/save.dat");
  ASSERT_EQ(new_save.size(), 400u);
  ASSERT_NE(new_save, old_save);
  std::map<std::string, std::uint64_t> calls;
  for (const Event& e : clean.of("calls")) calls[e.at("service")] = std::stoull(e.at("count"));
  ASSERT_GT(calls.size(), 10u);

  int runs = 0, index = 0;
  for (const auto& [service, count] : calls) {
    if (index++ % kShards != GetParam()) continue;
    for (const std::uint64_t n : sampled_calls(count, full)) {
      const std::string fault = service + "@" + std::to_string(n);
      const RunResult r = run({"--fail", fault});
      ++runs;
      EXPECT_EQ(r.exit_code, 0) << fault << "\n" << r.err;
      EXPECT_EQ(r.err.find("runtime error"), std::string::npos) << fault << "\n" << r.err;
      EXPECT_EQ(r.err.find("Sanitizer"), std::string::npos) << fault << "\n" << r.err;
      for (const Event& box : r.of("message_box"))
        EXPECT_NE(box.at("caption"), "") << fault << ": " << box.at("text");
      const auto held_at_end = r.of("held");
      ASSERT_EQ(held_at_end.size(), 1u) << fault;
      // A release that fails may leave the one thing it could not release.
      const std::map<std::string, std::string> kept = {
          {"DeleteObject", "gdi_objects"}, {"GlobalFree", "blocks"},
          {"LocalFree", "blocks"}};
      for (const char* held : {"gdi_objects", "dcs", "blocks", "locked_blocks",
                               "files"}) {
        const auto it = kept.find(service);
        const int allowed = it != kept.end() && it->second == held ? 1 : 0;
        EXPECT_LE(std::stoi(held_at_end[0].at(held)), allowed) << fault << " left " << held;
      }
      const std::string save = folder.read("data/save.dat");
      EXPECT_TRUE(save == old_save || save == new_save) << fault << ": save.dat of " << save.size();
      EXPECT_FALSE(folder.exists("data/save.dat.new")) << fault;
    }
  }
  std::printf("fault sweep: %d runs over a share of %zu services\n", runs, calls.size());
}

INSTANTIATE_TEST_SUITE_P(Shards, FaultSweepOfTheDemo, ::testing::Range(0, kShards));

TEST(FaultSweep, AnEndWhosePostFailsStillSaysGoodbye) {
  Scenario s;
  s.script("end\ntextmode\nend\n");
  const RunResult r = s.run({"--fail", "PostMessageA", "--max-steps", "50"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "");  // nothing after the end runs
  EXPECT_EQ(r.box_texts(), std::vector<std::string>{"ばいばいもわもわ～！！"});
}

TEST(FaultSweep, LeavingWithoutAWindowReleasesWhatStartUpMade) {
  for (const char* fault : {"RegisterClassA", "CreateWindowExA"}) {
    Scenario s;
    s.script("end\n");
    const RunResult r = s.run({"--fail", fault});
    EXPECT_EQ(r.exit_code, 0) << fault;
    EXPECT_TRUE(r.box_texts().empty()) << fault;
    const Event held_at_end = r.of("held").at(0);
    EXPECT_EQ(held_at_end.at("gdi_objects"), "0") << fault;
    EXPECT_EQ(held_at_end.at("blocks"), "0") << fault;
  }
}

}  // namespace
}  // namespace mowa::test

#endif  // MOWA_DEMO_DIR
