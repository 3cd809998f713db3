// The save file: its 400 bytes, what a load restores, and what survives a
// failure or a power loss at any moment.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/variables.h"
#include "platform/headless/headless_platform.h"
#include "shell/program.h"
#include "support/midi_writer.h"
#include "support/scenario_runner.h"

namespace mowa::test {
namespace {

constexpr char kNone[] = "<none>", kFifo[] = "<fifo>";

TEST(SaveFile, HoldsTheVariablesAndSurvivesEveryFailure) {
  const std::string zeros(396, '\0'), previous = be32(42) + zeros;
  const std::string cannot_write = "save.datに書き込めないの～、くすん。";
  const std::string broken = "save.datがこわれているの～、くすん。";
  const std::string load_5 = "@00=5\nload\ncheck\"@00\"\nend\n";
  const auto loaded_5 = [](const std::string& box) {
    return Outcome{"", {box, check_box(5, 3), kFarewell}};
  };
  const std::string not_found = "save.datが見つからないの～、くすん。";
  const Outcome goodbye{"", {kFarewell}, kFarewellCaption},
      written{"", {cannot_write, kFarewell}};
  struct Case {
    std::string name;
    std::string before;  // data/save.dat before the run, or kNone, or kFifo
    std::string script;
    Outcome expected;
    std::string after;  // data/save.dat after the run, or kNone, or kFifo
    std::vector<std::string> options = {};
  };
  std::vector<Case> cases = {
      // clang-format off
      {"the variables big-endian", kNone,
       "@00=1\n@01=-1\n@02=2147483647\n@03=-2147483648\n@99=258\nsave\nend\n",
       goodbye, be32(1) + be32(0xFFFFFFFF) + be32(0x7FFFFFFF) +
       be32(0x80000000) + std::string(95 * 4, '\0') + be32(258)},
      {"a load restores every value and goes on", kNone,
       "@03=-2147483648\n@04=2147483647\n@05=7\nsave\n@03=0\n@04=0\n@05=0\n"
       "load\ncheck\"@03\"\ncheck\"@04\"\ncheck\"@05\"\nend\n",
       {"", {check_box(-2147483648LL, 9), check_box(2147483647, 10),
             check_box(7, 11), kFarewell}},
       std::string(12, '\0') + be32(0x80000000) + be32(0x7FFFFFFF) + be32(7) +
       std::string(94 * 4, '\0')},
      {"bytes after the first 400 are ignored", be32(0xFFFFFF80) + zeros +
       "tail", "load\ncheck\"@00\"\nend\n",
       {"", {check_box(-128, 2), kFarewell}},
       be32(0xFFFFFF80) + zeros + "tail"},
      {"a missing file changes nothing", kNone, load_5, loaded_5(not_found),
       kNone},
      {"a FIFO is not read", kFifo, load_5, loaded_5(not_found), kFifo},
      {"an empty file changes nothing", "", load_5, loaded_5(broken), ""},
      {"a short file changes nothing", std::string(399, '\x11'), load_5,
       loaded_5(broken), std::string(399, '\x11')},
      // The rename is done: the new save stays, but it may not survive a power
      // loss.
      {"a folder that cannot be synced keeps the new save and says so",
       std::string(400, 'o'), "@00=7\nsave\nend\n", written, be32(7) + zeros,
       {"--fail", "sync_folder"}},
      // clang-format on
  };
  // clang-format off
  for (const char* fault : {"fputc@200", "fsync", "fclose", "rename"})
    cases.push_back({std::string("a failed ") + fault + " keeps the old save",
                     previous, "@00=1\nsave\nend\n", written, previous,
                     {"--fail", fault}});
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Scenario s;
    if (c.before == kFifo) {
      ASSERT_EQ(::mkfifo((s.dir() + "/data/save.dat").c_str(), 0600), 0);
    } else if (c.before != kNone) {
      s.write("data/save.dat", c.before);
    }
    s.script(c.script);
    expect_outcome(s.run(c.options), c.expected);
    if (c.after == kNone) {
      EXPECT_FALSE(s.exists("data/save.dat"));
    } else if (c.after != kFifo) {
      EXPECT_EQ(s.read("data/save.dat"), c.after);
    }
    EXPECT_FALSE(s.exists("data/save.dat.new"));
  }
}

TEST(SaveFile, AFolderInTheWayOfTheNewFileIsReported) {
  Scenario s;
  s.write("data/save.dat.new/blocker", "");
  s.script("save\nend\n");
  expect_outcome(s.run(),
                 {"", {"save.datが開けないの～、くすん。", kFarewell}});
  EXPECT_FALSE(s.exists("data/save.dat"));
}

// The file service with every call that puts the save in place written down.
struct RecordingReplacement final : pf::FileReplacement {
  explicit RecordingReplacement(pf::HostFiles& host) : host(host) {}
  int fsync(pf::Stream& stream) override {
    calls.push_back("fsync");
    return host.fsync(stream);
  }
  int rename(const char* from, const char* to) override {
    calls.push_back(std::string("rename ") + from + " " + to);
    return host.rename(from, to);
  }
  int remove(const char* path) override {
    calls.push_back(std::string("remove ") + path);
    return host.remove(path);
  }
  int sync_folder(const char* path) override {
    calls.push_back(std::string("sync_folder ") + path);
    return host.sync_folder(path);
  }
  pf::HostFiles& host;
  std::vector<std::string> calls;
};

// A power loss at any moment leaves the old save or the new one: the bytes
// reach the disk under another name, replace the old file by a rename, and
// the folder that holds the rename reaches the disk last.
TEST(SaveFile, BytesThenRenameThenTheFolderReachTheDisk) {
  Scenario s;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(s.dir());
  {
    pf::HeadlessPlatform hp(stdout);
    RecordingReplacement files(hp.files);
    const pf::Platform& h = hp.platform();
    pf::Platform platform{h.box,      h.clock, h.window, h.gdi,
                          h.display,  h.sound, h.memory, h.files,
                          h.versions, files,   h.out};
    Program program(platform);
    program.script.variables[99] = 0x01020304;
    engine::save(program.script);
    EXPECT_EQ(files.calls,
              (std::vector<std::string>{
                  "fsync", "rename .\\data\\save.dat.new .\\data\\save.dat",
                  "sync_folder .\\data\\save.dat"}));
  }
  std::filesystem::current_path(previous);
  EXPECT_EQ(s.read("data/save.dat"),
            std::string(396, '\0') + "\x01\x02\x03\x04");
}

}  // namespace
}  // namespace mowa::test
