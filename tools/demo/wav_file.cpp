#include "wav_file.h"

#include <algorithm>
#include <cmath>

#include "byte_writer.h"

namespace mowa::demo {

std::string wav_bytes(const std::vector<double>& samples,
                      std::uint32_t rate_hz) {
  const auto data_bytes = static_cast<std::uint32_t>(samples.size() * 2);
  ByteWriter out;
  out.text("RIFF");
  out.le32(36 + data_bytes);
  out.text("WAVE");
  out.text("fmt ");
  out.le32(16);
  out.le16(1);  // PCM
  out.le16(1);  // one channel
  out.le32(rate_hz);
  out.le32(rate_hz * 2);
  out.le16(2);
  out.le16(16);
  out.text("data");
  out.le32(data_bytes);
  for (const double s : samples) {
    const auto v = static_cast<std::int32_t>(
        std::lround(std::clamp(s, -1.0, 1.0) * 32767.0));
    out.le16(static_cast<std::uint32_t>(v) & 0xFFFF);
  }
  return out.bytes();
}

}  // namespace mowa::demo
