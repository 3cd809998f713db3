// Standard MIDI files of format 0: one track that carries every channel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mowa::demo {

// A note to be sounded, in ticks from the start of the sequence.
struct Note {
  std::uint32_t start_ticks;
  std::uint32_t length_ticks;
  std::uint8_t key;
  std::uint8_t velocity;
  std::uint8_t channel;
};

struct Sequence {
  std::uint16_t ticks_per_quarter = 480;
  std::uint32_t us_per_quarter = 500000;
  // General MIDI programme of each channel 0 to 15 that plays; -1 for none.
  std::vector<int> programs;
  std::vector<Note> notes;
  // Where the track ends; the sequence is heard again from the start there.
  std::uint32_t length_ticks = 0;
};

std::string midi_bytes(const Sequence& sequence);

}  // namespace mowa::demo
