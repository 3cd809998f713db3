// The framing of the Debug Adapter Protocol on a byte stream: header lines
// ("Content-Length: N"), an empty line, then N bytes of JSON. The reader
// takes bytes as they come and hands out whole bodies, or a complaint for
// every piece of the stream it had to throw away.
#pragma once

#include <cstddef>
#include <string>

namespace mowa::debug {

class MessageReader {
 public:
  // Larger headers or bodies are refused: the adapter never holds more.
  static constexpr std::size_t kMaxHeaderBytes = 8 * 1024;
  static constexpr std::size_t kMaxBodyBytes = 16 * 1024 * 1024;

  struct Item {
    bool ok = false;  // true: `text` is a body; false: it says what was wrong
    std::string text;
  };

  void feed(const char* data, std::size_t size);
  // The next body or complaint, oldest first; false when none is complete.
  bool next(Item& item);

 private:
  std::string buffer_;
  std::size_t body_bytes_ = 0;  // of the body being read, after its header
  bool in_body_ = false;
  std::size_t skip_bytes_ = 0;  // of a refused body still to come
};

}  // namespace mowa::debug
