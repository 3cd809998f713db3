// Standard input for a debugging editor on Windows: ReadFile on a thread of
// its own, since the compiler's library has no threads of its own here. The
// editor hands a pipe over as the standard input even to a windowed program.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string>

#include "platform/platform.h"
// Last: the system headers make macros of the program's names.
#include <windows.h>

namespace mowa::pf {
namespace {

struct Shared {
  Shared() {
    InitializeCriticalSection(&lock);
    arrived = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  }
  ~Shared() {
    CloseHandle(arrived);
    DeleteCriticalSection(&lock);
  }
  Shared(const Shared&) = delete;
  Shared& operator=(const Shared&) = delete;

  CRITICAL_SECTION lock;
  HANDLE arrived;  // set while bytes or the end wait
  std::string bytes;
  bool closed = false;
  std::atomic<bool> ready{false};
};

class Locked {
 public:
  explicit Locked(CRITICAL_SECTION& s) : s_(s) { EnterCriticalSection(&s_); }
  ~Locked() { LeaveCriticalSection(&s_); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  CRITICAL_SECTION& s_;
};

struct ReaderStart {
  HANDLE input;
  std::shared_ptr<Shared> shared;
};

DWORD WINAPI read_loop(void* param) {
  const std::unique_ptr<ReaderStart> start(static_cast<ReaderStart*>(param));
  Shared& shared = *start->shared;
  char buffer[4096];
  for (;;) {
    DWORD n = 0;
    const BOOL ok = ReadFile(start->input, buffer, sizeof buffer, &n, nullptr);
    Locked held(shared.lock);
    // A pipe whose writer went away fails with ERROR_BROKEN_PIPE; a file
    // ends with a read of no bytes.
    if (!ok || n == 0) {
      shared.closed = true;
    } else {
      shared.bytes.append(buffer, n);
    }
    shared.ready = true;
    SetEvent(shared.arrived);
    if (!ok || n == 0) return 0;
  }
}

class Win32RequestPipe final : public RequestPipe {
 public:
  Win32RequestPipe() : shared_(std::make_shared<Shared>()) {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE) {
      shared_->closed = true;
      shared_->ready = true;
      SetEvent(shared_->arrived);
      return;
    }
    // The reader may sit in ReadFile when the program ends: it owns its
    // share of the bytes and is left to the end of the process.
    auto* start = new ReaderStart{input, shared_};
    const HANDLE thread =
        CreateThread(nullptr, 0, read_loop, start, 0, nullptr);
    if (thread == nullptr) {
      delete start;
      shared_->closed = true;
      shared_->ready = true;
      SetEvent(shared_->arrived);
      return;
    }
    CloseHandle(thread);
  }

  bool ready() const override {
    return shared_->ready.load(std::memory_order_relaxed);
  }

  int read(char* buffer, int size, int wait_ms) override {
    WaitForSingleObject(shared_->arrived, static_cast<DWORD>(wait_ms));
    Locked held(shared_->lock);
    if (shared_->bytes.empty()) return shared_->closed ? -1 : 0;
    const int n = std::min(size, static_cast<int>(shared_->bytes.size()));
    std::memcpy(buffer, shared_->bytes.data(), static_cast<std::size_t>(n));
    shared_->bytes.erase(0, static_cast<std::size_t>(n));
    shared_->ready = !shared_->bytes.empty() || shared_->closed;
    if (!shared_->ready) ResetEvent(shared_->arrived);
    return n;
  }

 private:
  std::shared_ptr<Shared> shared_;
};

}  // namespace

std::unique_ptr<RequestPipe> open_request_pipe() {
  return std::make_unique<Win32RequestPipe>();
}

}  // namespace mowa::pf
