#include <algorithm>

#include "debug/channel.h"

namespace mowa::debug {

Channel::Channel(std::unique_ptr<pf::RequestPipe> in, std::FILE* out)
    : in_(std::move(in)), out_(out) {}

Channel::Got Channel::take(std::string& text, std::chrono::milliseconds wait) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (items_.empty() && !closed_) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    char buffer[4096];
    const int n =
        in_->read(buffer, sizeof buffer,
                  static_cast<int>(std::max<long long>(0, left.count())));
    if (n < 0) {
      closed_ = true;
    } else if (n > 0) {
      reader_.feed(buffer, static_cast<std::size_t>(n));
      MessageReader::Item item;
      while (reader_.next(item)) items_.push_back(std::move(item));
    } else if (left.count() <= 0) {
      break;
    }
  }
  if (items_.empty()) return closed_ ? Got::kClosed : Got::kNothing;
  MessageReader::Item item = std::move(items_.front());
  items_.pop_front();
  text = std::move(item.text);
  return item.ok ? Got::kMessage : Got::kComplaint;
}

void Channel::send(nlohmann::json message) {
  message["seq"] = seq_++;
  const std::string body =
      message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  std::fprintf(out_, "Content-Length: %zu\r\n\r\n", body.size());
  std::fwrite(body.data(), 1, body.size(), out_);
  std::fflush(out_);
}

}  // namespace mowa::debug
