// The save file: its 400 bytes, and what survives a failure.
#include <gtest/gtest.h>

#include "scenario_runner.h"

namespace mowa::test {
namespace {

std::string be32(std::uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16),
          static_cast<char>(v >> 8), static_cast<char>(v)};
}

TEST(SaveFile, HoldsTheVariablesBigEndian) {
  Scenario s;
  s.script("@00=1\n@01=-1\n@02=2147483647\n@03=-2147483648\n@99=258\nsave\nend\n");
  ASSERT_EQ(s.run().exit_code, 0);
  std::string expected = be32(1) + be32(0xFFFFFFFF) + be32(0x7FFFFFFF) +
                         be32(0x80000000);
  expected += std::string(95 * 4, '\0') + be32(258);
  EXPECT_EQ(s.read("data/save.dat"), expected);
  EXPECT_FALSE(s.exists("data/save.dat.new"));
}

TEST(SaveFile, LoadRestoresEveryValueAndGoesOnAfterLoad) {
  Scenario s;
  s.script("@03=-2147483648\n@04=2147483647\n@05=7\nsave\n@03=0\n@04=0\n@05=0\n"
           "load\ncheck\"@03\"\ncheck\"@04\"\ncheck\"@05\"\nend\n");
  const auto boxes = s.run().box_texts();
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0], "check=-2147483648(script_pointer=9)\n");
  EXPECT_EQ(boxes[1], "check=2147483647(script_pointer=10)\n");
  EXPECT_EQ(boxes[2], "check=7(script_pointer=11)\n");
}

TEST(SaveFile, LoadIgnoresBytesAfterTheFirst400) {
  Scenario s;
  s.write("data/save.dat", be32(0xFFFFFF80) + std::string(396, '\0') + "tail");
  s.script("load\ncheck\"@00\"\nend\n");
  EXPECT_EQ(s.run().box_texts().at(0), "check=-128(script_pointer=2)\n");
}

TEST(SaveFile, MissingOrShortFileChangesNothing) {
  struct Case {
    bool present;
    std::size_t bytes;
    const char* box;
  };
  for (const Case c : {Case{false, 0, "save.datが見つからないの～、くすん。"},
                       Case{true, 0, "save.datがこわれているの～、くすん。"},
                       Case{true, 399, "save.datがこわれているの～、くすん。"}}) {
    Scenario s;
    if (c.present) s.write("data/save.dat", std::string(c.bytes, '\x11'));
    s.script("@00=5\nload\ncheck\"@00\"\nend\n");
    const RunResult r = s.run();
    const auto boxes = r.box_texts();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0], c.box);
    EXPECT_EQ(r.of("message_box")[0].at("caption"), "script_read");
    EXPECT_EQ(boxes[1], "check=5(script_pointer=3)\n");
  }
}

TEST(SaveFile, FailedSaveKeepsThePreviousSave) {
  for (const char* fault : {"fputc@200", "fsync", "fclose", "rename"}) {
    Scenario s;
    const std::string previous = be32(42) + std::string(396, '\0');
    s.write("data/save.dat", previous);
    s.script("@00=1\nsave\nend\n");
    const RunResult r = s.run({"--fail", fault});
    ASSERT_FALSE(r.box_texts().empty()) << fault;
    EXPECT_EQ(r.box_texts()[0], "save.datに書き込めないの～、くすん。") << fault;
    EXPECT_EQ(s.read("data/save.dat"), previous) << fault;
    EXPECT_FALSE(s.exists("data/save.dat.new")) << fault;
  }
}

TEST(SaveFile, UnwritableFolderIsReported) {
  Scenario s;
  s.write("data/save.dat.new/blocker", "");
  s.script("save\nend\n");
  EXPECT_EQ(s.run().box_texts().at(0), "save.datが開けないの～、くすん。");
}

}  // namespace
}  // namespace mowa::test
