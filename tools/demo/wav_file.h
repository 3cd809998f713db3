// WAV files of 16-bit PCM samples, one channel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mowa::demo {

// Samples from -1 to 1; louder ones are clipped.
std::string wav_bytes(const std::vector<double>& samples,
                      std::uint32_t rate_hz);

}  // namespace mowa::demo
