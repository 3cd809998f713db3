// The length of a MIDI sequence from its tempo map, and the files that are
// not sequences at all.
#include "platform/common/midi_length.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "midi_writer.h"

namespace mowa::test {
namespace {

std::optional<std::int64_t> length_of(const std::string& file) {
  return pf::midi_length_ms(std::span(
      reinterpret_cast<const std::uint8_t*>(file.data()), file.size()));
}

std::string with_header(std::uint32_t header_length, std::uint32_t format,
                        std::uint32_t tracks, std::uint32_t division,
                        const std::string& rest) {
  return "MThd" + be32(header_length) + be16(format) + be16(tracks) +
         be16(division) + rest;
}

std::string track(const std::string& events) {
  return "MTrk" + be32(static_cast<std::uint32_t>(events.size())) + events;
}

const std::string kEnd = MidiTrack().end(0).events();

struct LengthCase {
  const char* name;
  std::string file;
  std::int64_t expected_ms;
};

void PrintTo(const LengthCase& c, std::ostream* os) { *os << c.name; }

class MidiLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(MidiLengthTest, ReadsTheTempoMap) {
  const auto ms = length_of(GetParam().file);
  ASSERT_TRUE(ms.has_value());
  EXPECT_EQ(*ms, GetParam().expected_ms);
}

const std::string kRmidFile = [] {
  const std::string smf = midi_file(0, 480, {MidiTrack().end(960)});
  return "RIFF" + std::string("\x00\x00\x00\x00", 4) + "RMID" + "data" +
         std::string(1, static_cast<char>(smf.size())) +
         std::string("\x00\x00\x00", 3) + smf;
}();

INSTANTIATE_TEST_SUITE_P(
    Sequences, MidiLengthTest,
    ::testing::Values(
        LengthCase{"default_tempo_is_120_a_minute",
                   midi_file(0, 480, {MidiTrack().end(960)}), 1000},
        LengthCase{"tempo_at_the_start",
                   midi_file(0, 480, {MidiTrack().tempo(0, 250'000).end(960)}),
                   500},
        LengthCase{"tempo_change_in_the_middle",
                   midi_file(0, 480,
                             {MidiTrack()
                                  .note_on(0, 60)
                                  .tempo(480, 1'000'000)
                                  .note_off(480, 60)
                                  .end(0)}),
                   1500},
        LengthCase{
            "last_of_two_changes_at_one_tick_holds",
            midi_file(
                0, 96,
                {MidiTrack().tempo(0, 100'000).tempo(0, 200'000).end(96)}),
            200},
        LengthCase{"change_at_the_end_does_not_count",
                   midi_file(0, 96, {MidiTrack().tempo(96, 100).end(0)}), 500},
        LengthCase{
            "format_1_conductor_track_times_the_longest_track",
            midi_file(1, 480,
                      {MidiTrack().tempo(0, 250'000).end(0),
                       MidiTrack().note_on(0, 60).note_off(1920, 60).end(0),
                       MidiTrack().end(480)}),
            1000},
        LengthCase{"format_1_tempo_in_a_later_track_applies_to_all",
                   midi_file(1, 480,
                             {MidiTrack().end(1920),
                              MidiTrack().tempo(960, 1'000'000).end(0)}),
                   3000},
        LengthCase{
            "running_status_and_sysex",
            midi_file(0, 480,
                      {MidiTrack()
                           .note_on(0, 60)
                           .raw(vlq(240) + "\x3E\x64" + vlq(240) +
                                std::string("\x3C\x00", 2))
                           .raw(vlq(0) + "\xF0" + vlq(3) + "\x7E\x7F\xF7")
                           .raw(vlq(480) + std::string("\x3E\x00", 2))
                           .end(0)}),
            1000},
        LengthCase{
            "without_end_of_track_the_last_event_ends",
            midi_file(0, 480, {MidiTrack().note_on(0, 60).note_off(720, 60)}),
            750},
        LengthCase{"smpte_25_frames_of_40_ticks",
                   midi_file(0, static_cast<std::uint16_t>((0xE7 << 8) | 40),
                             {MidiTrack().tempo(0, 100).end(2500)}),
                   2500},
        LengthCase{"smpte_drop_frame_rate",
                   midi_file(0, static_cast<std::uint16_t>((0xE3 << 8) | 100),
                             {MidiTrack().end(29970)}),
                   10000},
        LengthCase{"empty_sequence", midi_file(0, 480, {MidiTrack().end(0)}),
                   0},
        LengthCase{
            "longest_delta_does_not_overflow",
            midi_file(0, 1, {MidiTrack().tempo(0, 0xFFFFFF).end(0x0FFFFFFF)}),
            4503599342158LL},
        LengthCase{"unknown_chunks_are_skipped",
                   with_header(6, 0, 1, 480,
                               "XFIH" + be32(3) + "abc" +
                                   track(MidiTrack().end(480).events())),
                   500},
        LengthCase{"riff_wrapped", kRmidFile, 1000}),
    [](const auto& info) { return std::string(info.param.name); });

struct BrokenCase {
  const char* name;
  std::string file;
};

void PrintTo(const BrokenCase& c, std::ostream* os) { *os << c.name; }

class BrokenMidiTest : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenMidiTest, IsNotASequence) {
  EXPECT_FALSE(length_of(GetParam().file).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenMidiTest,
    ::testing::Values(
        BrokenCase{"empty", ""},
        BrokenCase{"a_wave_file",
                   std::string("RIFF\x24\x00\x00\x00WAVEfmt ", 16)},
        BrokenCase{"header_only", "MThd"},
        BrokenCase{"short_header", with_header(4, 0, 1, 480, track(kEnd))},
        BrokenCase{"format_2", with_header(6, 2, 1, 480, track(kEnd))},
        BrokenCase{"no_tracks", with_header(6, 1, 0, 480, "")},
        BrokenCase{"format_0_with_two_tracks",
                   with_header(6, 0, 2, 480, track(kEnd) + track(kEnd))},
        BrokenCase{"division_zero", with_header(6, 0, 1, 0, track(kEnd))},
        BrokenCase{"smpte_rate_unknown",
                   with_header(6, 0, 1, (0xE9 << 8) | 10, track(kEnd))},
        BrokenCase{"smpte_no_ticks", with_header(6, 0, 1, 0xE700, track(kEnd))},
        BrokenCase{"fewer_tracks_than_the_header_says",
                   with_header(6, 1, 3, 480, track(kEnd) + track(kEnd))},
        BrokenCase{"track_runs_past_the_file",
                   with_header(6, 0, 1, 480, "MTrk" + be32(100) + kEnd)},
        BrokenCase{
            "delta_time_of_five_bytes",
            with_header(6, 0, 1, 480,
                        track("\x81\x81\x81\x81\x01\x90\x3C\x40" + kEnd))},
        BrokenCase{"running_status_before_any_status",
                   with_header(6, 0, 1, 480,
                               track(std::string("\x00\x3C\x40", 3) + kEnd))},
        BrokenCase{"meta_event_longer_than_the_track",
                   with_header(6, 0, 1, 480,
                               track(std::string("\x00\xFF\x01\x20xy", 6)))},
        BrokenCase{"sysex_longer_than_the_track",
                   with_header(6, 0, 1, 480,
                               track(std::string("\x00\xF0\x10\x7E", 4)))},
        BrokenCase{
            "note_cut_short",
            with_header(6, 0, 1, 480, track(std::string("\x00\x90\x3C", 3)))},
        BrokenCase{"real_time_message_in_a_track",
                   with_header(6, 0, 1, 480,
                               track(std::string("\x00\xF8", 2) + kEnd))},
        BrokenCase{"riff_without_data",
                   std::string("RIFF\x04\x00\x00\x00RMID", 12)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MidiLength, EveryTruncationOfAFileIsRejected) {
  const std::string file = midi_file(
      1, 480,
      {MidiTrack().tempo(0, 400'000).end(0),
       MidiTrack().program(0, 5).note_on(0, 60).note_off(480, 60).end(10)});
  ASSERT_TRUE(length_of(file).has_value());
  for (std::size_t n = 0; n < file.size(); ++n)
    EXPECT_FALSE(length_of(file.substr(0, n)).has_value()) << n << " bytes";
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
