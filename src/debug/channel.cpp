#include "debug/channel.h"

#include <unistd.h>

#include <cerrno>
#include <thread>

namespace mowa::debug {

Channel::Channel(int in_fd, std::FILE* out)
    : shared_(std::make_shared<Shared>()), out_(out) {
  // The reader may sit in read() when the program ends: it owns its share
  // of the queue and is left to the end of the process.
  std::thread(read_loop, in_fd, shared_).detach();
}

Channel::~Channel() = default;

void Channel::read_loop(int fd, std::shared_ptr<Shared> shared) {
  MessageReader reader;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    std::lock_guard lock(shared->mutex);
    if (n <= 0) {
      shared->closed = true;
      shared->ready = true;
      shared->arrived.notify_all();
      return;
    }
    reader.feed(buffer, static_cast<std::size_t>(n));
    MessageReader::Item item;
    bool any = false;
    while (reader.next(item)) {
      shared->items.push_back(std::move(item));
      any = true;
    }
    if (any) {
      shared->ready = true;
      shared->arrived.notify_all();
    }
  }
}

Channel::Got Channel::take(std::string& text, std::chrono::milliseconds wait) {
  std::unique_lock lock(shared_->mutex);
  shared_->arrived.wait_for(
      lock, wait, [&] { return !shared_->items.empty() || shared_->closed; });
  if (shared_->items.empty()) {
    shared_->ready = shared_->closed;
    return shared_->closed ? Got::kClosed : Got::kNothing;
  }
  MessageReader::Item item = std::move(shared_->items.front());
  shared_->items.pop_front();
  shared_->ready = !shared_->items.empty() || shared_->closed;
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
