// Standard MIDI files written by the tests themselves, event by event, with
// room for the damaged ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mowa::test {

// Bytes of one track chunk's events. Each event takes its delta time in
// ticks from the one before.
class MidiTrack {
 public:
  MidiTrack& tempo(std::uint32_t delta, std::uint32_t us_per_quarter);
  MidiTrack& program(std::uint32_t delta, std::uint8_t instrument,
                     std::uint8_t channel = 0);
  MidiTrack& note_on(std::uint32_t delta, std::uint8_t key,
                     std::uint8_t velocity = 100, std::uint8_t channel = 0);
  MidiTrack& note_off(std::uint32_t delta, std::uint8_t key,
                      std::uint8_t channel = 0);
  // The end-of-track meta event.
  MidiTrack& end(std::uint32_t delta);
  // Any bytes, as they are: running status, system exclusive, damage.
  MidiTrack& raw(const std::string& bytes);

  const std::string& events() const { return events_; }

 private:
  MidiTrack& event(std::uint32_t delta, const std::string& bytes);
  std::string events_;
};

std::string vlq(std::uint32_t value);
std::string be16(std::uint32_t value);
std::string be32(std::uint32_t value);
// The header chunk and one MTrk chunk for each track.
std::string midi_file(std::uint16_t format, std::uint16_t division,
                      const std::vector<MidiTrack>& tracks);
// One note of `sounding_ms`, then `silent_ms` of rest before the end of the
// track, at 480 ticks a quarter note and a quarter note of 500 ms.
std::string one_note_midi(std::uint32_t sounding_ms, std::uint32_t silent_ms,
                          std::uint8_t instrument = 0, std::uint8_t key = 69);

}  // namespace mowa::test
