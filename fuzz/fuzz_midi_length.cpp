// The playing time of a MIDI file, on the file's bytes. A length found is
// never negative, and bytes after the end of a file whose length is found
// change nothing: the reader stops at its last track (or at the end of the
// data chunk of a RIFF wrapper).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "fuzz_check.h"
#include "platform/common/midi_length.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using mowa::fuzz::require;
  const std::optional<std::int64_t> ms = mowa::pf::midi_length_ms({data, size});
  if (!ms) return 0;
  require(*ms >= 0, "a negative playing time");
  std::vector<std::uint8_t> longer(data, data + size);
  longer.insert(longer.end(),
                {'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0});
  require(mowa::pf::midi_length_ms(longer) == ms,
          "bytes past the end changed the playing time");
  return 0;
}
