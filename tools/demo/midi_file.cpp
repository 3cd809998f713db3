#include "midi_file.h"

#include <algorithm>
#include <tuple>

#include "byte_writer.h"

namespace mowa::demo {
namespace {

struct Event {
  std::uint32_t ticks;
  bool on;
  Note note;
};

}  // namespace

std::string midi_bytes(const Sequence& sequence) {
  std::vector<Event> events;
  for (const Note& n : sequence.notes) {
    events.push_back({n.start_ticks, true, n});
    events.push_back({n.start_ticks + n.length_ticks, false, n});
  }
  // At the same tick the notes that end go first, so that a repeated key is
  // released before it sounds again.
  std::stable_sort(events.begin(), events.end(),
                   [](const Event& a, const Event& b) {
                     return std::tie(a.ticks, a.on) < std::tie(b.ticks, b.on);
                   });

  ByteWriter track;
  track.vlq(0);
  track.byte(0xFF);
  track.byte(0x51);
  track.byte(3);
  track.byte(static_cast<std::uint8_t>(sequence.us_per_quarter >> 16));
  track.byte(static_cast<std::uint8_t>(sequence.us_per_quarter >> 8));
  track.byte(static_cast<std::uint8_t>(sequence.us_per_quarter));
  for (std::size_t channel = 0;
       channel < sequence.programs.size() && channel < 16; ++channel) {
    if (sequence.programs[channel] < 0) continue;
    track.vlq(0);
    track.byte(static_cast<std::uint8_t>(0xC0 | channel));
    track.byte(static_cast<std::uint8_t>(sequence.programs[channel] & 0x7F));
    // Full channel volume: synthesisers start lower, under the sounds.
    track.vlq(0);
    track.byte(static_cast<std::uint8_t>(0xB0 | channel));
    track.byte(7);
    track.byte(127);
  }
  std::uint32_t now = 0;
  for (const Event& e : events) {
    track.vlq(e.ticks - now);
    now = e.ticks;
    track.byte(static_cast<std::uint8_t>((e.on ? 0x90 : 0x80) |
                                         (e.note.channel & 0x0F)));
    track.byte(e.note.key & 0x7F);
    track.byte(e.on ? (e.note.velocity & 0x7F) : 64);
  }
  track.vlq(sequence.length_ticks > now ? sequence.length_ticks - now : 0);
  track.byte(0xFF);
  track.byte(0x2F);
  track.byte(0);

  ByteWriter file;
  file.text("MThd");
  file.be32(6);
  file.be16(0);  // format 0
  file.be16(1);
  file.be16(sequence.ticks_per_quarter);
  file.text("MTrk");
  file.be32(static_cast<std::uint32_t>(track.bytes().size()));
  file.text(track.bytes());
  return file.bytes();
}

}  // namespace mowa::demo
