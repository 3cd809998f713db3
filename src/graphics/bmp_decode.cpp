#include "graphics/bmp_decode.h"

#include <algorithm>
#include <cstring>

namespace mowa::bmp {
namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12;
constexpr std::uint32_t kLeastInfoBytes = 40;
constexpr std::uint32_t kMostInfoBytes = 124;
constexpr std::uint32_t kNoCompression = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;

std::uint32_t u16(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | (std::uint32_t{b[at + 1]} << 8);
}
std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at) {
  return u16(b, at) | (u16(b, at + 2) << 16);
}

struct Header {
  std::uint32_t info_bytes = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: top row first
  std::uint32_t bits = 0;
  std::uint32_t compression = kNoCompression;
  std::uint32_t colours_used = 0;
  std::uint32_t pixels_at = 0;
};

Refusal read_header(std::span<const std::uint8_t> file, Header& h) {
  if (file.size() < 2 || file[0] != 'B' || file[1] != 'M')
    return Refusal::not_bmp;
  if (file.size() < kFileHeaderBytes + 4) return Refusal::cut_short;
  h.pixels_at = u32(file, 10);
  h.info_bytes = u32(file, kFileHeaderBytes);
  const bool core = h.info_bytes == kCoreHeaderBytes;
  if (!core &&
      (h.info_bytes < kLeastInfoBytes || h.info_bytes > kMostInfoBytes))
    return Refusal::not_bmp;
  if (file.size() < kFileHeaderBytes + h.info_bytes) return Refusal::cut_short;
  const std::size_t at = kFileHeaderBytes + 4;
  if (core) {
    h.width = u16(file, at);
    h.height = u16(file, at + 2);
    h.bits = u16(file, at + 6);
  } else {
    h.width = static_cast<std::int32_t>(u32(file, at));
    h.height = static_cast<std::int32_t>(u32(file, at + 4));
    h.bits = u16(file, at + 10);
    h.compression = u32(file, at + 12);
    h.colours_used = u32(file, at + 28);
  }
  return Refusal::none;
}

Refusal check_kind(const Header& h) {
  if (h.bits == 16 || h.bits == 24 || h.bits == 32) return Refusal::not_palette;
  if (h.bits != 1 && h.bits != 4 && h.bits != 8) return Refusal::broken;
  const bool readable = h.compression == kNoCompression ||
                        (h.compression == kRle8 && h.bits == 8) ||
                        (h.compression == kRle4 && h.bits == 4);
  if (!readable) return Refusal::unknown_compression;
  if (h.width < 1 || h.height == 0) return Refusal::broken;
  if (h.width > kMaxWidth || h.height > kMaxHeight || h.height < -kMaxHeight)
    return Refusal::too_large;
  return Refusal::none;
}

// The table runs from the end of the info header; when the pixels start
// before its stated end, only the entries before them are colours.
Refusal read_colours(std::span<const std::uint8_t> file, const Header& h,
                     std::vector<Colour>& colours) {
  const std::size_t entry_bytes = h.info_bytes == kCoreHeaderBytes ? 3 : 4;
  std::uint64_t entries = h.colours_used != 0 ? h.colours_used : 1u << h.bits;
  if (entries > 256) return Refusal::broken;
  const std::uint64_t table_at = kFileHeaderBytes + h.info_bytes;
  if (h.pixels_at < table_at) return Refusal::broken;
  entries =
      std::min<std::uint64_t>(entries, (h.pixels_at - table_at) / entry_bytes);
  if (table_at + entries * entry_bytes > file.size()) return Refusal::cut_short;
  colours.resize(static_cast<std::size_t>(entries));
  for (std::size_t i = 0; i < colours.size(); ++i) {
    const std::size_t at = static_cast<std::size_t>(table_at) + i * entry_bytes;
    colours[i] = {file[at], file[at + 1], file[at + 2]};
  }
  return Refusal::none;
}

// Rows as the file stores them, each padded to 4 bytes, bits of a byte from
// the most significant down.
Refusal read_plain(std::span<const std::uint8_t> data, const Header& h,
                   IndexedPicture& p) {
  const std::size_t row_bytes =
      (static_cast<std::size_t>(p.width) * h.bits + 31) / 32 * 4;
  if (data.size() < row_bytes * static_cast<std::size_t>(p.height))
    return Refusal::cut_short;
  const unsigned mask = (1u << h.bits) - 1;
  for (int r = 0; r < p.height; ++r) {
    const std::uint8_t* row = data.data() + row_bytes * r;
    std::uint8_t* out =
        p.indices.data() + static_cast<std::size_t>(r) * p.width;
    if (h.bits == 8) {
      std::memcpy(out, row, static_cast<std::size_t>(p.width));
      continue;
    }
    for (int x = 0; x < p.width; ++x) {
      const std::size_t bit = static_cast<std::size_t>(x) * h.bits;
      const unsigned shift = 8 - h.bits - bit % 8;
      out[x] = static_cast<std::uint8_t>((row[bit / 8] >> shift) & mask);
    }
  }
  return Refusal::none;
}

// Run-length coded rows: counted runs of one byte (RLE8) or of two
// alternating nibbles (RLE4), escapes for the end of a row, the end of the
// picture, a jump and literal runs padded to 16 bits. Pixels a jump skips
// are index 0; pixels past a row's end are dropped.
Refusal read_runs(std::span<const std::uint8_t> data, const Header& h,
                  IndexedPicture& p) {
  const bool nibbles = h.compression == kRle4;
  std::size_t at = 0;
  std::int64_t x = 0, row = 0;
  const auto put = [&](unsigned index) {
    if (x < p.width && row < p.height)
      p.indices[static_cast<std::size_t>(row) * p.width + x] =
          static_cast<std::uint8_t>(index);
    ++x;
  };
  while (row < p.height) {
    if (at + 2 > data.size()) return Refusal::cut_short;
    const unsigned count = data[at], value = data[at + 1];
    at += 2;
    if (count > 0) {
      for (unsigned i = 0; i < count; ++i)
        put(nibbles ? (i % 2 == 0 ? value >> 4 : value & 0xF) : value);
      continue;
    }
    if (value == 0) {
      x = 0;
      ++row;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (at + 2 > data.size()) return Refusal::cut_short;
      x += data[at];
      row += data[at + 1];
      at += 2;
    } else {
      const std::size_t bytes = nibbles ? (value + 1) / 2 : value;
      if (at + bytes > data.size()) return Refusal::cut_short;
      for (unsigned i = 0; i < value; ++i)
        put(nibbles
                ? (i % 2 == 0 ? data[at + i / 2] >> 4 : data[at + i / 2] & 0xF)
                : data[at + i]);
      at += (bytes + 1) / 2 * 2;
    }
  }
  return Refusal::none;
}

}  // namespace

Decoded decode(std::span<const std::uint8_t> file) {
  Decoded d;
  Header h;
  d.refusal = read_header(file, h);
  if (d.refusal == Refusal::none) d.refusal = check_kind(h);
  if (d.refusal == Refusal::none)
    d.refusal = read_colours(file, h, d.picture.colours);
  if (d.refusal != Refusal::none) return d;
  IndexedPicture& p = d.picture;
  p.width = static_cast<int>(h.width);
  p.height = static_cast<int>(h.height < 0 ? -h.height : h.height);
  p.indices.assign(static_cast<std::size_t>(p.width) * p.height, 0);
  if (h.pixels_at > file.size()) {
    d.refusal = Refusal::cut_short;
    d.picture = {};
    return d;
  }
  const std::span<const std::uint8_t> data = file.subspan(h.pixels_at);
  d.refusal = h.compression == kNoCompression ? read_plain(data, h, p)
                                              : read_runs(data, h, p);
  if (d.refusal == Refusal::none && h.height < 0) {
    for (int top = 0, bottom = p.height - 1; top < bottom; ++top, --bottom)
      std::swap_ranges(
          p.indices.begin() + static_cast<std::ptrdiff_t>(top) * p.width,
          p.indices.begin() + static_cast<std::ptrdiff_t>(top + 1) * p.width,
          p.indices.begin() + static_cast<std::ptrdiff_t>(bottom) * p.width);
  }
  if (d.refusal != Refusal::none) d.picture = {};
  return d;
}

}  // namespace mowa::bmp
