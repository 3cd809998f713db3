// The RIFF chunk walk that stands before the sound library, on the file's
// bytes. It changes only size fields, and only downwards; once it has run,
// every chunk it walks fits in the file, and a second run changes nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_check.h"
#include "platform/common/sound_file.h"

namespace {

std::uint32_t le32(const std::uint8_t* p) {
  return p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using mowa::fuzz::require;
  std::vector<std::uint8_t> bytes(data, data + size);
  mowa::pf::cut_riff_chunks(bytes);
  require(bytes.size() == size, "the walk changed the file's length");
  const bool riff = size >= 12 && std::memcmp(data, "RIFF", 4) == 0;
  if (!riff) {
    require(std::equal(bytes.begin(), bytes.end(), data),
            "a file not RIFF was changed");
    return 0;
  }
  // Where the walk finds size fields: the RIFF chunk's, then each chunk's.
  std::vector<bool> size_field(size, false);
  const auto mark = [&](std::size_t at) {
    for (std::size_t i = at; i < at + 4; ++i) size_field[i] = true;
    require(le32(bytes.data() + at) <= le32(data + at), "a size made larger");
  };
  mark(4);
  require(le32(bytes.data() + 4) <= size - 8,
          "the RIFF chunk is larger than the file");
  for (std::size_t at = 12; at + 8 <= size;) {
    mark(at + 4);
    const std::size_t length = le32(bytes.data() + at + 4);
    require(length <= size - (at + 8), "a chunk runs past the end of the file");
    at += 8 + length + (length & 1);
  }
  for (std::size_t i = 0; i < size; ++i)
    require(size_field[i] || bytes[i] == data[i],
            "a byte other than a size changed");

  const std::vector<std::uint8_t> once = bytes;
  mowa::pf::cut_riff_chunks(bytes);
  require(bytes == once, "a second walk changed the file");
  return 0;
}
