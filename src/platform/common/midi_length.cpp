#include "platform/common/midi_length.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace mowa::pf {
namespace {

// Reads big-endian fields and never past the end of its bytes: every read
// says whether it fitted.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t left() const { return bytes_.size() - at_; }

  bool u8(std::uint8_t& v) {
    if (left() < 1) return false;
    v = bytes_[at_++];
    return true;
  }
  bool u16(std::uint32_t& v) { return big_endian(2, v); }
  bool u32(std::uint32_t& v) { return big_endian(4, v); }
  bool tag(const char (&name)[5]) {
    if (left() < 4 || std::memcmp(bytes_.data() + at_, name, 4) != 0)
      return false;
    at_ += 4;
    return true;
  }
  // A variable-length quantity: at most four bytes of seven bits each.
  bool vlq(std::uint32_t& v) {
    v = 0;
    for (int i = 0; i < 4; ++i) {
      std::uint8_t b = 0;
      if (!u8(b)) return false;
      v = (v << 7) | (b & 0x7Fu);
      if (!(b & 0x80)) return true;
    }
    return false;
  }
  bool skip(std::size_t n) {
    if (left() < n) return false;
    at_ += n;
    return true;
  }
  // The next `n` bytes as a reader of their own.
  bool take(std::size_t n, std::span<const std::uint8_t>& part) {
    if (left() < n) return false;
    part = bytes_.subspan(at_, n);
    at_ += n;
    return true;
  }

 private:
  bool big_endian(int n, std::uint32_t& v) {
    if (left() < static_cast<std::size_t>(n)) return false;
    v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | bytes_[at_++];
    return true;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

struct TempoChange {
  std::uint64_t tick;
  std::uint32_t us_per_quarter;
};

constexpr std::uint32_t kDefaultTempoUs = 500'000;  // 120 quarters a minute

int channel_data_bytes(std::uint8_t status) {
  const int kind = status >> 4;
  return kind == 0xC || kind == 0xD ? 1 : 2;
}

// Walks one track chunk. Its end is the end-of-track event or, when a writer
// left that out, the last event of the chunk.
bool read_track(std::span<const std::uint8_t> chunk, std::uint64_t& end_tick,
                std::vector<TempoChange>& tempos) {
  ByteReader r(chunk);
  std::uint64_t tick = 0;
  std::uint8_t running = 0;
  while (r.left() > 0) {
    std::uint32_t delta = 0;
    std::uint8_t status = 0;
    if (!r.vlq(delta) || !r.u8(status)) return false;
    tick += delta;
    if (status < 0x80) {
      // Running status: this byte is already the first data byte.
      if (running == 0) return false;
      if (!r.skip(static_cast<std::size_t>(channel_data_bytes(running) - 1)))
        return false;
    } else if (status == 0xFF) {
      std::uint8_t type = 0;
      std::uint32_t length = 0;
      if (!r.u8(type) || !r.vlq(length)) return false;
      std::span<const std::uint8_t> data;
      if (!r.take(length, data)) return false;
      if (type == 0x2F) {
        end_tick = tick;
        return true;
      }
      if (type == 0x51 && length == 3)
        tempos.push_back({tick, (std::uint32_t{data[0]} << 16) |
                                    (std::uint32_t{data[1]} << 8) | data[2]});
    } else if (status == 0xF0 || status == 0xF7) {
      std::uint32_t length = 0;
      if (!r.vlq(length) || !r.skip(length)) return false;
    } else if (status > 0xF0) {
      return false;  // real-time and common messages have no place in a file
    } else {
      running = status;
      if (!r.skip(static_cast<std::size_t>(channel_data_bytes(status))))
        return false;
    }
  }
  end_tick = tick;
  return true;
}

// The standard file inside a RIFF MIDI ("RMID") wrapper, or the bytes as
// they are.
std::span<const std::uint8_t> unwrap_riff(std::span<const std::uint8_t> bytes) {
  ByteReader r(bytes);
  std::uint32_t size = 0;
  if (!r.tag("RIFF") || !r.u32(size) || !r.tag("RMID")) return bytes;
  while (r.left() >= 8) {
    const bool is_data = r.tag("data");
    if (!is_data && !r.skip(4)) break;
    std::uint8_t b[4];
    for (auto& x : b)
      if (!r.u8(x)) return {};
    // RIFF sizes are little-endian, unlike everything in the MIDI file.
    const std::uint32_t length =
        b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t{b[3]} << 24);
    std::span<const std::uint8_t> part;
    if (!r.take(length, part)) return {};
    if (is_data) return part;
    if (length % 2 && !r.skip(1)) break;
  }
  return {};
}

}  // namespace

std::optional<std::int64_t> midi_length_ms(
    std::span<const std::uint8_t> bytes) {
  ByteReader r(unwrap_riff(bytes));
  std::uint32_t header_length = 0, format = 0, tracks = 0, division = 0;
  if (!r.tag("MThd") || !r.u32(header_length) || header_length < 6 ||
      !r.u16(format) || !r.u16(tracks) || !r.u16(division) ||
      !r.skip(header_length - 6))
    return std::nullopt;
  if (format > 1 || tracks == 0 || (format == 0 && tracks != 1) ||
      division == 0)
    return std::nullopt;

  std::uint64_t end_tick = 0;
  std::vector<TempoChange> tempos;
  for (std::uint32_t found = 0; found < tracks;) {
    std::uint32_t length = 0;
    const bool is_track = r.tag("MTrk");
    if (!is_track && !r.skip(4)) return std::nullopt;
    std::span<const std::uint8_t> chunk;
    if (!r.u32(length) || !r.take(length, chunk)) return std::nullopt;
    if (!is_track) continue;  // chunks of other kinds are skipped
    std::uint64_t track_end = 0;
    if (!read_track(chunk, track_end, tempos)) return std::nullopt;
    end_tick = std::max(end_tick, track_end);
    ++found;
  }

  long double us = 0;
  if (division & 0x8000) {
    // SMPTE: frames a second (29 stands for 29.97) and ticks a frame; tempo
    // changes do not apply.
    const int fps = -static_cast<std::int8_t>(division >> 8);
    const std::uint32_t ticks_per_frame = division & 0xFF;
    if ((fps != 24 && fps != 25 && fps != 29 && fps != 30) ||
        ticks_per_frame == 0)
      return std::nullopt;
    const long double frames_per_second = fps == 29 ? 29.97L : fps;
    us = static_cast<long double>(end_tick) * 1e6L /
         (frames_per_second * ticks_per_frame);
  } else {
    // Changes at one tick keep their order in the file: the last one holds.
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoChange& a, const TempoChange& b) {
                       return a.tick < b.tick;
                     });
    std::uint64_t tick = 0;
    std::uint32_t tempo = kDefaultTempoUs;
    for (const TempoChange& change : tempos) {
      if (change.tick >= end_tick) break;
      us += static_cast<long double>(change.tick - tick) * tempo / division;
      tick = change.tick;
      tempo = change.us_per_quarter;
    }
    us += static_cast<long double>(end_tick - tick) * tempo / division;
  }
  const long double ms = std::round(us / 1000.0L);
  if (!(ms < 9.0e18L)) return std::nullopt;
  return static_cast<std::int64_t>(ms);
}

}  // namespace mowa::pf
