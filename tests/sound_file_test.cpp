// WAV files as the sound library gets them: no chunk declares more bytes
// than the file holds, whatever its header says.
#include "platform/common/sound_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include "scenario_runner.h"

namespace mowa::test {
namespace {

std::string le32(std::uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
          static_cast<char>(v >> 24)};
}

const std::string kFormat = "fmt " + le32(16) + std::string("\x01\x00\x01\x00\x40\x1f\x00\x00\x40\x1f\x00\x00\x01\x00\x08\x00", 16);

TEST(SoundFile, ChunkSizesAreCutToTheBytesTheFileHolds) {
  struct Case {
    const char* what;
    std::string file, expected;
  };
  const std::vector<Case> cases = {
      // A 44-byte file that once had the sound library ask for 4 GiB.
      {"data of 4 GiB", "RIFF" + le32(36) + "WAVE" + kFormat + "data" + le32(0xFFFFFF00),
       "RIFF" + le32(36) + "WAVE" + kFormat + "data" + le32(0)},
      {"riff and data too long", "RIFF" + le32(9999) + "WAVE" + kFormat + "data" + le32(10) + "abc",
       "RIFF" + le32(39) + "WAVE" + kFormat + "data" + le32(3) + "abc"},
      {"odd chunk padded, then one too long", "RIFF" + le32(48) + "WAVE" + kFormat + "LIST" + le32(1) + "x" + std::string(1, '\0') + "data" + le32(80) + "ab",
       "RIFF" + le32(48) + "WAVE" + kFormat + "LIST" + le32(1) + "x" + std::string(1, '\0') + "data" + le32(2) + "ab"},
      {"sound as declared", "RIFF" + le32(38) + "WAVE" + kFormat + "data" + le32(2) + "ab",
       "RIFF" + le32(38) + "WAVE" + kFormat + "data" + le32(2) + "ab"},
      {"not RIFF", "OggS" + le32(0xFFFFFFFF) + "rest", "OggS" + le32(0xFFFFFFFF) + "rest"},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bytes(c.file.begin(), c.file.end());
    pf::cut_riff_chunks(bytes);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), c.expected) << c.what;
  }
}

TEST(SoundFile, OnlyARegularFileIsRead) {
  Scenario s;
  s.write("a.wav", "RIFF" + le32(4) + "WAVE");
  ASSERT_EQ(::mkfifo((s.dir() + "/pipe.wav").c_str(), 0600), 0);
  std::vector<std::uint8_t> bytes;
  EXPECT_TRUE(pf::read_sound_file(s.dir() + "/a.wav", bytes));
  EXPECT_EQ(bytes.size(), 12u);
  EXPECT_FALSE(pf::read_sound_file(s.dir() + "/pipe.wav", bytes));
  EXPECT_FALSE(pf::read_sound_file(s.dir() + "/missing.wav", bytes));
}

}  // namespace
}  // namespace mowa::test
