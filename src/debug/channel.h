// The adapter's two pipes: requests read from a file descriptor on a thread
// of their own, so that the program's thread can wait for them with a
// timeout and pump its window meanwhile; responses and events written
// whole, one at a time, from the program's thread.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>

#include "debug/message_reader.h"

namespace mowa::debug {

class Channel {
 public:
  Channel(int in_fd, std::FILE* out);
  ~Channel();
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  enum class Got { kNothing, kMessage, kComplaint, kClosed };
  // True when something waits to be taken (cheap: one atomic load).
  bool ready() const { return shared_->ready.load(std::memory_order_relaxed); }
  // The next body or complaint, waiting at most `wait` for it; kClosed once
  // the input has ended and everything before was taken.
  Got take(std::string& text, std::chrono::milliseconds wait);

  // Writes `message` with the next sequence number.
  void send(nlohmann::json message);

 private:
  struct Shared {
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<MessageReader::Item> items;
    bool closed = false;
    std::atomic<bool> ready{false};
  };
  static void read_loop(int fd, std::shared_ptr<Shared> shared);

  std::shared_ptr<Shared> shared_;
  std::FILE* out_;
  long long seq_ = 1;
};

}  // namespace mowa::debug
