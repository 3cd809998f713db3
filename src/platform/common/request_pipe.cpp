// Standard input for a debugging editor on POSIX systems: read() on a thread
// of its own. Windows has its own in platform/win32.
#ifndef _WIN32
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "platform/platform.h"

namespace mowa::pf {
namespace {

class PosixRequestPipe final : public RequestPipe {
 public:
  explicit PosixRequestPipe(int fd) : shared_(std::make_shared<Shared>()) {
    // The reader may sit in read() when the program ends: it owns its share
    // of the bytes and is left to the end of the process.
    std::thread(read_loop, fd, shared_).detach();
  }

  bool ready() const override {
    return shared_->ready.load(std::memory_order_relaxed);
  }

  int read(char* buffer, int size, int wait_ms) override {
    std::unique_lock lock(shared_->mutex);
    shared_->arrived.wait_for(lock, std::chrono::milliseconds(wait_ms), [&] {
      return !shared_->bytes.empty() || shared_->closed;
    });
    if (shared_->bytes.empty()) return shared_->closed ? -1 : 0;
    const int n = std::min(size, static_cast<int>(shared_->bytes.size()));
    std::memcpy(buffer, shared_->bytes.data(), static_cast<std::size_t>(n));
    shared_->bytes.erase(0, static_cast<std::size_t>(n));
    shared_->ready = !shared_->bytes.empty() || shared_->closed;
    return n;
  }

 private:
  struct Shared {
    std::mutex mutex;
    std::condition_variable arrived;
    std::string bytes;
    bool closed = false;
    std::atomic<bool> ready{false};
  };

  static void read_loop(int fd, std::shared_ptr<Shared> shared) {
    char buffer[4096];
    for (;;) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      std::lock_guard lock(shared->mutex);
      if (n <= 0) {
        shared->closed = true;
      } else {
        shared->bytes.append(buffer, static_cast<std::size_t>(n));
      }
      shared->ready = true;
      shared->arrived.notify_all();
      if (n <= 0) return;
    }
  }

  std::shared_ptr<Shared> shared_;
};

}  // namespace

std::unique_ptr<RequestPipe> open_request_pipe() {
  // An editor that goes away closes both pipes: the program then ends as on
  // a closed input rather than being killed in the middle of a write.
  std::signal(SIGPIPE, SIG_IGN);
  return std::make_unique<PosixRequestPipe>(STDIN_FILENO);
}

}  // namespace mowa::pf
#endif
