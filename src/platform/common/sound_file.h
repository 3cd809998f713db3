// A WAV file read whole before a sound library sees it. Such libraries
// trust the sizes a file declares: a file of a few bytes that declares a
// data chunk of 4 GiB would have them allocate 4 GiB. Here every RIFF chunk
// is cut to the bytes the file really holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mowa::pf {

inline constexpr std::size_t kMaxSoundFileBytes = std::size_t{256} << 20;

// The bytes of a regular file of at most kMaxSoundFileBytes, with its RIFF
// chunk sizes cut as cut_riff_chunks does. False when the file cannot be
// read whole or is too large.
bool read_sound_file(const std::string& host_path,
                     std::vector<std::uint8_t>& bytes);

// In a RIFF file, brings the size of the RIFF chunk and of every chunk in it
// down to what is left of the file; any other file stays as it is.
void cut_riff_chunks(std::vector<std::uint8_t>& bytes);

}  // namespace mowa::pf
