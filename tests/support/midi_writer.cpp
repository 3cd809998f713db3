#include "midi_writer.h"

namespace mowa::test {

std::string vlq(std::uint32_t value) {
  std::string out(1, static_cast<char>(value & 0x7F));
  while (value >>= 7)
    out.insert(out.begin(), static_cast<char>(0x80 | (value & 0x7F)));
  return out;
}

std::string be16(std::uint32_t value) {
  return {static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string be32(std::uint32_t value) {
  return be16(value >> 16) + be16(value & 0xFFFF);
}

MidiTrack& MidiTrack::event(std::uint32_t delta, const std::string& bytes) {
  events_ += vlq(delta) + bytes;
  return *this;
}

MidiTrack& MidiTrack::tempo(std::uint32_t delta, std::uint32_t us_per_quarter) {
  return event(delta, "\xFF\x51\x03" + be32(us_per_quarter).substr(1));
}

MidiTrack& MidiTrack::program(std::uint32_t delta, std::uint8_t instrument,
                              std::uint8_t channel) {
  return event(delta, {static_cast<char>(0xC0 | channel),
                       static_cast<char>(instrument)});
}

MidiTrack& MidiTrack::note_on(std::uint32_t delta, std::uint8_t key,
                              std::uint8_t velocity, std::uint8_t channel) {
  return event(delta, {static_cast<char>(0x90 | channel),
                       static_cast<char>(key), static_cast<char>(velocity)});
}

MidiTrack& MidiTrack::note_off(std::uint32_t delta, std::uint8_t key,
                               std::uint8_t channel) {
  return event(delta,
               {static_cast<char>(0x80 | channel), static_cast<char>(key), 64});
}

MidiTrack& MidiTrack::end(std::uint32_t delta) {
  return event(delta, {"\xFF\x2F\x00", 3});
}

MidiTrack& MidiTrack::raw(const std::string& bytes) {
  events_ += bytes;
  return *this;
}

std::string midi_file(std::uint16_t format, std::uint16_t division,
                      const std::vector<MidiTrack>& tracks) {
  std::string out = "MThd" + be32(6) + be16(format) +
                    be16(static_cast<std::uint32_t>(tracks.size())) +
                    be16(division);
  for (const MidiTrack& t : tracks)
    out += "MTrk" + be32(static_cast<std::uint32_t>(t.events().size())) +
           t.events();
  return out;
}

std::string one_note_midi(std::uint32_t sounding_ms, std::uint32_t silent_ms,
                          std::uint8_t instrument, std::uint8_t key) {
  // 480 ticks in 500 ms: a tick is 25/24 ms, so multiples of 25 ms are exact.
  const auto ticks = [](std::uint32_t ms) { return ms * 24 / 25; };
  return midi_file(0, 480,
                   {MidiTrack()
                        .tempo(0, 500'000)
                        .program(0, instrument)
                        .note_on(0, key, 110)
                        .note_off(ticks(sounding_ms), key)
                        .end(ticks(silent_ms))});
}

}  // namespace mowa::test
