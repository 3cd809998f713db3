// The adapter's two pipes: requests read from the platform's request pipe,
// so that the program's thread can wait for them with a timeout and pump its
// window meanwhile; responses and events written whole, one at a time, from
// the program's thread.
#pragma once

#include <chrono>
#include <cstdio>
#include <deque>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "debug/message_reader.h"
#include "platform/platform.h"

namespace mowa::debug {

class Channel {
 public:
  Channel(std::unique_ptr<pf::RequestPipe> in, std::FILE* out);
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  enum class Got { kNothing, kMessage, kComplaint, kClosed };
  // True when something waits to be taken (cheap: no system call).
  bool ready() const { return !items_.empty() || in_->ready(); }
  // The next body or complaint, waiting at most `wait` for it; kClosed once
  // the input has ended and everything before was taken.
  Got take(std::string& text, std::chrono::milliseconds wait);

  // Writes `message` with the next sequence number.
  void send(nlohmann::json message);

 private:
  std::unique_ptr<pf::RequestPipe> in_;
  std::FILE* out_;
  MessageReader reader_;
  std::deque<MessageReader::Item> items_;
  bool closed_ = false;
  long long seq_ = 1;
};

}  // namespace mowa::debug
