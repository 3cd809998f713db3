#include "platform/common/host_stream.h"

#ifdef _WIN32
#include "platform/win32/win32_descriptors.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstring>
#include <string>

namespace mowa::pf {
namespace {

constexpr int kEof = -1;
constexpr unsigned char kCtrlZ = 0x1A;

#ifndef _WIN32
// Anything but a regular file (a device, a FIFO) is refused before any read.
int open_descriptor(const std::string& host_path, int flags) {
  return open_regular_file(host_path, flags);
}

// False for a directory or when the file cannot be examined.
bool stamp_of_file(int fd, FileStamp& s) {
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) return false;
  s.device = static_cast<std::uint64_t>(st.st_dev);
  s.inode = static_cast<std::uint64_t>(st.st_ino);
  s.size = static_cast<std::int64_t>(st.st_size);
  s.mtime_ns = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 +
               st.st_mtim.tv_nsec;
  return true;
}
#endif

// Reads and writes at explicit offsets, so that a seek costs no system call:
// a step of the interpreter opens, seeks, reads one line and closes.
class HostStream final : public Stream {
 public:
  HostStream(int fd, bool text, bool append, const FileStamp& stamp,
             Faults& faults)
      : fd_(fd), text_(text), append_(append), stamp_(stamp), faults_(faults) {}
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
    if (size <= 0 || !end_writing()) return nullptr;
    int n = 0;
    while (n < size - 1) {
      if (pos_ == len_ && !fill()) break;
      // Copy a run without CR, Ctrl-Z or LF in one go.
      const unsigned char* p = buf_.get() + pos_;
      const std::size_t avail = len_ - pos_;
      const std::size_t want = static_cast<std::size_t>(size - 1 - n);
      const std::size_t limit = avail < want ? avail : want;
      std::size_t run = 0;
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

  int fgetc() override { return end_writing() ? get() : kEof; }

  int fputc(int c) override {
    const auto b = static_cast<unsigned char>(c);
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
    const off_t here = static_cast<off_t>(ftell());
    if (!flush_writes()) return kEof;
    off_t base = 0;
    if (origin == SEEK_CUR_) {
      base = here;
    } else if (origin == SEEK_END_) {
      struct stat st;
      if (::fstat(fd_, &st) != 0) return kEof;
      base = st.st_size;
    } else if (origin != SEEK_SET_) {
      return kEof;
    }
    if (base + offset < 0) return kEof;
    start_ = base + offset;
    pos_ = len_ = 0;
    at_end_ = false;
    return 0;
  }

  long ftell() override {
    if (out_len_ > 0)
      return static_cast<long>(out_start_ + static_cast<off_t>(out_len_));
    return static_cast<long>(start_ + static_cast<off_t>(pos_));
  }

  void rewind() override { fseek(0, SEEK_SET_); }

  int fflush() override {
    if (faults_.fail("fflush")) return kEof;
    return flush_writes() ? 0 : kEof;
  }

  int fsync() {
    if (faults_.fail("fsync")) return kEof;
    if (!flush_writes()) return kEof;
    return ::fsync(fd_) == 0 ? 0 : kEof;
  }

  FileStamp stamp() { return stamp_; }

 private:
  // A page: a seek followed by one line reads little.
  static constexpr std::size_t kBufferBytes = 4096;

  bool fill() {
    if (at_end_) return false;
    if (!buf_) buf_.reset(new unsigned char[kBufferBytes]);
    start_ += static_cast<off_t>(len_);
    pos_ = len_ = 0;
    const ssize_t r = ::pread(fd_, buf_.get(), kBufferBytes, start_);
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

  // Reading after writing goes on where the writing stopped.
  bool end_writing() { return out_len_ == 0 || flush_writes(); }

  bool put(unsigned char b) {
    if (out_len_ == 0) {
      // Writing starts where the reader stands.
      out_start_ = start_ + static_cast<off_t>(pos_);
      pos_ = len_ = 0;
      at_end_ = false;
    }
    if (text_ && b == '\n' && !put_raw('\r')) return false;
    return put_raw(b);
  }

  bool put_raw(unsigned char b) {
    if (!out_) out_.reset(new unsigned char[kBufferBytes]);
    if (out_len_ == kBufferBytes) {
      const off_t next = out_start_ + static_cast<off_t>(out_len_);
      if (!flush_writes()) return false;
      out_start_ = next;
    }
    out_[out_len_++] = b;
    return true;
  }

  bool flush_writes() {
    if (out_len_ == 0) return true;
    std::size_t done = 0;
    bool ok = true;
    while (done < out_len_) {
      const ssize_t w = append_
                            ? ::write(fd_, out_.get() + done, out_len_ - done)
                            : ::pwrite(fd_, out_.get() + done, out_len_ - done,
                                       out_start_ + static_cast<off_t>(done));
      if (w <= 0) {
        ok = false;
        break;
      }
      done += static_cast<std::size_t>(w);
    }
    start_ = out_start_ + static_cast<off_t>(out_len_);
    pos_ = len_ = 0;
    out_len_ = 0;
    return ok;
  }

  int fd_;
  bool text_;
  bool append_;
  FileStamp stamp_;  // of the file as it was opened
  Faults& faults_;
  std::unique_ptr<unsigned char[]> buf_;
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  off_t start_ = 0;  // file offset of buf_[0]
  bool at_end_ = false;
  std::unique_ptr<unsigned char[]> out_;
  std::size_t out_len_ = 0;
  off_t out_start_ = 0;  // file offset of out_[0]
};

}  // namespace

#ifndef _WIN32
int open_regular_file(const std::string& host_path, int flags) {
  // Without O_NONBLOCK, opening a FIFO waits for its other end.
  const int fd =
      ::open(host_path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  const int status = ::fcntl(fd, F_GETFL);
  if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}
#endif

std::unique_ptr<Stream> open_host_stream(const std::string& host_path,
                                         const char* mode, Faults& faults) {
  if (!mode || !*mode) return nullptr;
  bool plus = false, text = true;
  for (const char* m = mode + 1; *m; ++m) {
    if (*m == '+')
      plus = true;
    else if (*m == 'b')
      text = false;
    else if (*m == 't')
      text = true;
  }
  int flags = 0;
  switch (mode[0]) {
    case 'r':
      flags = plus ? O_RDWR : O_RDONLY;
      break;
    case 'w':
      flags = (plus ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC;
      break;
    case 'a':
      flags = (plus ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND;
      break;
    default:
      return nullptr;
  }
  const int fd = open_descriptor(host_path, flags);
  if (fd < 0) return nullptr;
  FileStamp stamp;
  if (!stamp_of_file(fd, stamp)) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<HostStream>(fd, text, mode[0] == 'a', stamp, faults);
}

int host_stream_fsync(Stream& stream) {
  return static_cast<HostStream&>(stream).fsync();
}

FileStamp host_stream_stamp(Stream& stream) {
  return static_cast<HostStream&>(stream).stamp();
}

int close_host_stream(Stream* stream) {
  auto* s = static_cast<HostStream*>(stream);
  const int r = s->close_checked();
  delete s;
  return r;
}

}  // namespace mowa::pf
