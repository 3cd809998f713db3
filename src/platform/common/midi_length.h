// The playing time of a standard MIDI file, from its tempo map.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace mowa::pf {

// Milliseconds from the start of the sequence to its last event (the latest
// end of track), rounded to the nearest millisecond. Formats 0 and 1, with
// pulses per quarter note or SMPTE frames as the time base. Empty when the
// bytes are not a sequence that can be played: a damaged or truncated file,
// format 2, or a time base of zero.
std::optional<std::int64_t> midi_length_ms(std::span<const std::uint8_t> bytes);

}  // namespace mowa::pf
