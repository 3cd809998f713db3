#include "platform/common/host_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace mowa::pf {
namespace {

constexpr int kEof = -1;
constexpr unsigned char kCtrlZ = 0x1A;

class HostStream final : public Stream {
 public:
  HostStream(int fd, bool text, bool append, Faults& faults)
      : fd_(fd), text_(text), append_(append), faults_(faults) {}
  ~HostStream() override {
    if (fd_ < 0) return;
    flush_writes();
    ::close(fd_);
  }
  HostStream(const HostStream&) = delete;
  HostStream& operator=(const HostStream&) = delete;

  // Closes the descriptor and tells whether everything reached the file.
  int close_checked() {
    const bool flushed = flush_writes();
    const int r = ::close(fd_);
    fd_ = -1;
    return (flushed && r == 0) ? 0 : kEof;
  }

  char* fgets(char* buffer, int size) override {
    if (size <= 0) return nullptr;
    int n = 0;
    while (n < size - 1) {
      if (pos_ == len_ && !fill()) break;
      // Copy a run without CR, Ctrl-Z or LF in one go.
      const unsigned char* p = buf_ + pos_;
      const std::size_t avail = len_ - pos_;
      const std::size_t want = static_cast<std::size_t>(size - 1 - n);
      std::size_t run = 0;
      const std::size_t limit = avail < want ? avail : want;
      while (run < limit) {
        const unsigned char c = p[run];
        if (c == '\n' || (text_ && (c == '\r' || c == kCtrlZ))) break;
        ++run;
      }
      std::memcpy(buffer + n, p, run);
      n += static_cast<int>(run);
      pos_ += run;
      if (run < limit) {
        const int c = get();
        if (c == kEof) break;
        buffer[n++] = static_cast<char>(c);
        if (c == '\n') break;
      }
    }
    if (n == 0) return nullptr;
    buffer[n] = '\0';
    return buffer;
  }

  int fgetc() override { return get(); }

  int fputc(int c) override {
    const unsigned char b = static_cast<unsigned char>(c);
    if (faults_.fail("fputc") || !put(b)) return kEof;
    return b;
  }

  std::size_t fwrite(const void* data, std::size_t size,
                     std::size_t count) override {
    if (faults_.fail("fwrite")) return 0;
    const auto* p = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    for (; done < count; ++done)
      for (std::size_t i = 0; i < size; ++i)
        if (!put(p[done * size + i])) return done;
    return done;
  }

  int fseek(long offset, int origin) override {
    if (!flush_writes()) return kEof;
    off_t base = 0;
    if (origin == SEEK_CUR_) base = static_cast<off_t>(ftell());
    else if (origin == SEEK_END_) base = ::lseek(fd_, 0, SEEK_END);
    else if (origin != SEEK_SET_) return kEof;
    if (base < 0 || base + offset < 0) return kEof;
    if (::lseek(fd_, base + offset, SEEK_SET) < 0) return kEof;
    buf_start_ = base + offset;
    pos_ = len_ = 0;
    at_end_ = false;
    return 0;
  }

  long ftell() override {
    return static_cast<long>(buf_start_ + static_cast<off_t>(pos_) +
                             static_cast<off_t>(out_len_));
  }

  void rewind() override { fseek(0, SEEK_SET_); }

  int fflush() override {
    if (faults_.fail("fflush")) return kEof;
    return flush_writes() ? 0 : kEof;
  }

  int fsync() override {
    if (faults_.fail("fsync")) return kEof;
    if (!flush_writes()) return kEof;
    return ::fsync(fd_) == 0 ? 0 : kEof;
  }

  FileStamp stamp() override {
    struct stat st;
    FileStamp s;
    if (::fstat(fd_, &st) != 0) return s;
    s.device = static_cast<std::uint64_t>(st.st_dev);
    s.inode = static_cast<std::uint64_t>(st.st_ino);
    s.size = static_cast<std::int64_t>(st.st_size);
    s.mtime_ns = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 +
                 st.st_mtim.tv_nsec;
    return s;
  }

 private:
  static constexpr std::size_t kBufferBytes = 1 << 16;

  bool fill() {
    if (at_end_) return false;
    buf_start_ += static_cast<off_t>(len_);
    pos_ = len_ = 0;
    const ssize_t r = ::read(fd_, buf_, kBufferBytes);
    if (r <= 0) return false;
    len_ = static_cast<std::size_t>(r);
    return true;
  }

  int raw_get() {
    if (pos_ == len_ && !fill()) return kEof;
    return buf_[pos_++];
  }

  int get() {
    if (at_end_) return kEof;
    const int c = raw_get();
    if (!text_ || c == kEof) return c;
    if (c == kCtrlZ) {
      // Ctrl-Z ends a text file; the position stays on it.
      --pos_;
      at_end_ = true;
      return kEof;
    }
    if (c == '\r') {
      if (pos_ == len_ && !fill()) return '\r';
      if (buf_[pos_] == '\n') {
        ++pos_;
        return '\n';
      }
    }
    return c;
  }

  bool put(unsigned char b) {
    if (len_ != 0 || pos_ != 0) {
      // Switching from reading to writing: write where the reader stands.
      if (fseek(0, SEEK_CUR_) != 0) return false;
    }
    if (text_ && b == '\n' && !put_raw('\r')) return false;
    return put_raw(b);
  }

  bool put_raw(unsigned char b) {
    if (out_len_ == kBufferBytes && !flush_writes()) return false;
    out_[out_len_++] = b;
    return true;
  }

  bool flush_writes() {
    if (out_len_ == 0) return true;
    if (append_) ::lseek(fd_, 0, SEEK_END);
    std::size_t done = 0;
    while (done < out_len_) {
      const ssize_t w = ::write(fd_, out_ + done, out_len_ - done);
      if (w <= 0) {
        out_len_ = 0;
        return false;
      }
      done += static_cast<std::size_t>(w);
    }
    buf_start_ += static_cast<off_t>(out_len_);
    out_len_ = 0;
    return true;
  }

  int fd_;
  bool text_;
  bool append_;
  Faults& faults_;
  unsigned char buf_[kBufferBytes];
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  off_t buf_start_ = 0;  // file offset of buf_[0] (or of out_[0])
  bool at_end_ = false;
  unsigned char out_[kBufferBytes];
  std::size_t out_len_ = 0;
};

}  // namespace

std::unique_ptr<Stream> open_host_stream(const std::string& host_path,
                                         const char* mode, Faults& faults) {
  if (!mode || !*mode) return nullptr;
  bool plus = false, text = true;
  for (const char* m = mode + 1; *m; ++m) {
    if (*m == '+') plus = true;
    else if (*m == 'b') text = false;
    else if (*m == 't') text = true;
  }
  int flags = 0;
  switch (mode[0]) {
    case 'r': flags = plus ? O_RDWR : O_RDONLY; break;
    case 'w': flags = (plus ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC; break;
    case 'a': flags = (plus ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND; break;
    default: return nullptr;
  }
  const int fd = ::open(host_path.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<HostStream>(fd, text, mode[0] == 'a', faults);
}

int close_host_stream(Stream* stream) {
  auto* s = static_cast<HostStream*>(stream);
  const int r = s->close_checked();
  delete s;
  return r;
}

}  // namespace mowa::pf
