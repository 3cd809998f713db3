#include "platform/common/sound_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/common/host_stream.h"

namespace mowa::pf {
namespace {

std::uint32_t le32(const std::uint8_t* p) {
  return p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}

void put_le32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Cuts the size field at `at` to `left` bytes when it declares more.
void cut(std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t left) {
  const std::uint32_t declared = le32(bytes.data() + at);
  if (declared > left)
    put_le32(bytes.data() + at, static_cast<std::uint32_t>(left));
}

}  // namespace

void cut_riff_chunks(std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0) return;
  cut(bytes, 4, bytes.size() - 8);
  std::size_t at = 12;
  while (at + 8 <= bytes.size()) {
    const std::size_t left = bytes.size() - (at + 8);
    cut(bytes, at + 4, left);
    const std::size_t length = le32(bytes.data() + at + 4);
    at += 8 + length + (length & 1);  // chunks are padded to even sizes
  }
}

bool read_sound_file(const std::string& host_path,
                     std::vector<std::uint8_t>& bytes) {
  const int fd = open_regular_file(host_path, O_RDONLY);
  if (fd < 0) return false;
  struct stat st;
  bool ok = ::fstat(fd, &st) == 0 && st.st_size >= 0 &&
            static_cast<std::uint64_t>(st.st_size) <= kMaxSoundFileBytes;
  if (ok) {
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t r = ::read(fd, bytes.data() + done, bytes.size() - done);
      if (r <= 0) break;
      done += static_cast<std::size_t>(r);
    }
    bytes.resize(done);  // a file that shrank is taken as far as it got
  }
  ::close(fd);
  if (ok) cut_riff_chunks(bytes);
  return ok;
}

}  // namespace mowa::pf
