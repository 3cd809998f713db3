// Sound files as the platform reads them: WAV files as the sound library
// gets them (no chunk declares more bytes than the file holds, whatever its
// header says), and the length of a MIDI sequence from its tempo map, or
// none for files that are not sequences at all.
#include "platform/common/sound_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/common/midi_length.h"
#include "support/midi_writer.h"
#include "support/scenario_runner.h"

namespace mowa::test {
namespace {

std::string le32(std::uint32_t v) {
  const std::string b = be32(v);
  return {b.rbegin(), b.rend()};
}

const std::string kFormat =
    "fmt " + le32(16) +
    std::string(
        "\x01\x00\x01\x00\x40\x1f\x00\x00\x40\x1f\x00\x00\x01\x00\x08\x00", 16);

TEST(SoundFile, ChunkSizesAreCutToTheBytesTheFileHolds) {
  const auto wave = [](std::uint32_t riff_size, const std::string& chunks) {
    return "RIFF" + le32(riff_size) + "WAVE" + kFormat + chunks;
  };
  const struct {
    const char* what;
    std::string file, expected;
  } cases[] = {
      // A 44-byte file that once had the sound library ask for 4 GiB.
      {"data of 4 GiB", wave(36, "data" + le32(0xFFFFFF00)),
       wave(36, "data" + le32(0))},
      {"riff and data too long", wave(9999, "data" + le32(10) + "abc"),
       wave(39, "data" + le32(3) + "abc")},
      {"odd chunk padded, then one too long",
       wave(48, "LIST" + le32(1) + std::string("x\0data", 6) + le32(80) + "ab"),
       wave(48, "LIST" + le32(1) + std::string("x\0data", 6) + le32(2) + "ab")},
      {"sound as declared", wave(38, "data" + le32(2) + "ab"),
       wave(38, "data" + le32(2) + "ab")},
      {"not RIFF", "OggS" + le32(0xFFFFFFFF) + "rest",
       "OggS" + le32(0xFFFFFFFF) + "rest"},
  };
  for (const auto& c : cases) {
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

std::optional<std::int64_t> length_of(const std::string& file) {
  return pf::midi_length_ms(std::span(
      reinterpret_cast<const std::uint8_t*>(file.data()), file.size()));
}

std::string with_header(std::uint32_t length, std::uint32_t format,
                        std::uint32_t tracks, std::uint32_t division,
                        const std::string& rest) {
  return "MThd" + be32(length) + be16(format) + be16(tracks) + be16(division) +
         rest;
}
std::string track(const std::string& events) {
  return "MTrk" + be32(static_cast<std::uint32_t>(events.size())) + events;
}
const std::string kEnd = MidiTrack().end(0).events();

TEST(MidiLength, ReadsTheTempoMap) {
  using T = MidiTrack;
  const std::string running_status_and_sysex =
      vlq(240) + "\x3E\x64" + vlq(240) + std::string("\x3C\0", 2) + vlq(0) +
      "\xF0" + vlq(3) + "\x7E\x7F\xF7" + vlq(480) + std::string("\x3E\0", 2);
  const std::string smf = midi_file(0, 480, {T().end(960)});
  const std::string rmid = "RIFF" + std::string(4, '\0') + "RMIDdata" +
                           char(smf.size()) + std::string(3, '\0') + smf;
  const struct {
    const char* name;
    std::string file;
    std::int64_t ms;
  } cases[] = {
      // clang-format off
      {"default tempo is 120 a minute", smf, 1000},
      {"riff wrapped", rmid, 1000},
      {"tempo at the start",
       midi_file(0, 480, {T().tempo(0, 250'000).end(960)}), 500},
      {"tempo change in the middle", midi_file(0, 480, {T().note_on(0, 60)
           .tempo(480, 1'000'000).note_off(480, 60).end(0)}), 1500},
      {"last of two changes at one tick holds",
       midi_file(0, 96, {T().tempo(0, 100'000).tempo(0, 200'000).end(96)}),
       200},
      {"change at the end does not count",
       midi_file(0, 96, {T().tempo(96, 100).end(0)}), 500},
      {"format 1: conductor track times the longest track",
       midi_file(1, 480, {T().tempo(0, 250'000).end(0),
                          T().note_on(0, 60).note_off(1920, 60).end(0),
                          T().end(480)}), 1000},
      {"format 1: tempo in a later track applies to all",
       midi_file(1, 480, {T().end(1920), T().tempo(960, 1'000'000).end(0)}),
       3000},
      {"running status and sysex", midi_file(0, 480, {T().note_on(0, 60)
           .raw(running_status_and_sysex).end(0)}), 1000},
      {"without end of track the last event ends",
       midi_file(0, 480, {T().note_on(0, 60).note_off(720, 60)}), 750},
      {"smpte 25 frames of 40 ticks",
       midi_file(0, (0xE7 << 8) | 40, {T().tempo(0, 100).end(2500)}), 2500},
      {"smpte drop frame rate",
       midi_file(0, (0xE3 << 8) | 100, {T().end(29970)}), 10000},
      {"empty sequence", midi_file(0, 480, {T().end(0)}), 0},
      {"longest delta does not overflow",
       midi_file(0, 1, {T().tempo(0, 0xFFFFFF).end(0x0FFFFFFF)}),
       4503599342158LL},
      {"unknown chunks are skipped", with_header(6, 0, 1, 480, "XFIH" + be32(3)
           + "abc" + track(T().end(480).events())), 500},
      // clang-format on
  };
  for (const auto& c : cases) EXPECT_EQ(length_of(c.file), c.ms) << c.name;
}

TEST(MidiLength, MalformedFilesAreNoSequence) {
  const std::string file = midi_file(
      1, 480,
      {MidiTrack().tempo(0, 400'000).end(0),
       MidiTrack().program(0, 5).note_on(0, 60).note_off(480, 60).end(10)});
  ASSERT_TRUE(length_of(file).has_value());
  // Every truncation of a good file.
  for (std::size_t n = 0; n < file.size(); ++n)
    EXPECT_FALSE(length_of(file.substr(0, n)).has_value()) << n << " bytes";
  const auto in_track = [](const std::string& events) {
    return with_header(6, 0, 1, 480, track(events));
  };
  const std::pair<const char*, std::string> broken[] = {
      // clang-format off
      {"a wave file", std::string("RIFF\x24\0\0\0WAVEfmt ", 16)},
      {"riff without data", std::string("RIFF\x04\0\0\0RMID", 12)},
      {"short header", with_header(4, 0, 1, 480, track(kEnd))},
      {"format 2", with_header(6, 2, 1, 480, track(kEnd))},
      {"no tracks", with_header(6, 1, 0, 480, "")},
      {"format 0 with two tracks",
       with_header(6, 0, 2, 480, track(kEnd) + track(kEnd))},
      {"division zero", with_header(6, 0, 1, 0, track(kEnd))},
      {"smpte rate unknown",
       with_header(6, 0, 1, (0xE9 << 8) | 10, track(kEnd))},
      {"smpte without ticks", with_header(6, 0, 1, 0xE700, track(kEnd))},
      {"fewer tracks than the header says",
       with_header(6, 1, 3, 480, track(kEnd) + track(kEnd))},
      {"track runs past the file",
       with_header(6, 0, 1, 480, "MTrk" + be32(100) + kEnd)},
      {"delta time of five bytes",
       in_track("\x81\x81\x81\x81\x01\x90\x3C\x40" + kEnd)},
      {"running status before any status",
       in_track(std::string("\0\x3C\x40", 3) + kEnd)},
      {"meta event longer than the track",
       in_track(std::string("\0\xFF\x01\x20xy", 6))},
      {"sysex longer than the track",
       in_track(std::string("\0\xF0\x10\x7E", 4))},
      {"note cut short", in_track(std::string("\0\x90\x3C", 3))},
      {"real-time message in a track",
       in_track(std::string("\0\xF8", 2) + kEnd)},
      // clang-format on
  };
  for (const auto& [name, bytes] : broken)
    EXPECT_FALSE(length_of(bytes).has_value()) << name;
}

TEST(MidiLength, DamagedBytesNeverReadOutsideTheFile) {
  // Under the sanitizers any read past the buffer fails the test; the
  // answers themselves do not matter.
  const std::string file = midi_file(
      1, 96,
      {MidiTrack().tempo(0, 300'000).raw(vlq(10) + "\xF0\x02\x01\xF7").end(0),
       MidiTrack().note_on(0, 60).raw(std::string("\x10\x3E\x40", 3)).end(5)});
  std::uint32_t seed = 12345;
  for (int round = 0; round < 4000; ++round) {
    std::string damaged = file;
    for (int k = 0; k < 3; ++k) {
      seed = seed * 1103515245u + 12345u;
      damaged[(seed >> 8) % damaged.size()] = static_cast<char>(seed >> 24);
    }
    (void)length_of(damaged);
  }
}

}  // namespace
}  // namespace mowa::test
