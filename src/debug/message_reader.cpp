#include "debug/message_reader.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace mowa::debug {
namespace {

constexpr char kHeaderEnd[] = "\r\n\r\n";

bool same_ignoring_case(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return i == a.size() && !b[i];
}

// The body length a header block announces; false when it names none or
// an unusable one.
bool content_length(const std::string& header, std::size_t& length,
                    std::string& why) {
  bool found = false;
  std::size_t at = 0;
  while (at < header.size()) {
    std::size_t end = header.find("\r\n", at);
    if (end == std::string::npos) end = header.size();
    const std::string line = header.substr(at, end - at);
    at = end + 2;
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) {
      why = "a header line without a colon";
      return false;
    }
    if (!same_ignoring_case(line.substr(0, colon), "Content-Length")) continue;
    std::string value = line.substr(colon + 1);
    value.erase(0, value.find_first_not_of(" \t"));
    value.erase(value.find_last_not_of(" \t") + 1);
    if (value.empty() || value.size() > 9 ||
        !std::all_of(value.begin(), value.end(),
                     [](unsigned char c) { return std::isdigit(c); })) {
      why = "a Content-Length that is not a number";
      return false;
    }
    length = static_cast<std::size_t>(std::strtoul(value.c_str(), nullptr, 10));
    found = true;
  }
  if (!found) why = "a header without Content-Length";
  return found;
}

}  // namespace

void MessageReader::feed(const char* data, std::size_t size) {
  buffer_.append(data, size);
}

bool MessageReader::next(Item& item) {
  for (;;) {
    if (skip_bytes_ > 0) {
      const std::size_t n = std::min(skip_bytes_, buffer_.size());
      buffer_.erase(0, n);
      skip_bytes_ -= n;
      if (skip_bytes_ > 0) return false;
    }
    if (in_body_) {
      if (buffer_.size() < body_bytes_) return false;
      item.ok = true;
      item.text = buffer_.substr(0, body_bytes_);
      buffer_.erase(0, body_bytes_);
      in_body_ = false;
      return true;
    }
    const std::size_t end = buffer_.find(kHeaderEnd);
    if (end == std::string::npos) {
      if (buffer_.size() <= kMaxHeaderBytes) return false;
      // Keep the last bytes: they may begin the next good header.
      buffer_.erase(0, buffer_.size() - 3);
      item = {false, "a header longer than 8 KiB, thrown away"};
      return true;
    }
    const std::string header = buffer_.substr(0, end);
    buffer_.erase(0, end + 4);
    std::size_t length = 0;
    std::string why;
    if (!content_length(header, length, why)) {
      item = {false, why + ", thrown away"};
      return true;
    }
    if (length > kMaxBodyBytes) {
      skip_bytes_ = length;
      item = {false, "a body larger than 16 MiB, thrown away"};
      return true;
    }
    body_bytes_ = length;
    in_body_ = true;
  }
}

}  // namespace mowa::debug
