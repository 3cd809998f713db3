// The debug adapter's message reader on any bytes, fed in pieces of every
// size: it never reads outside its buffer and always makes progress.
#include <cstddef>
#include <cstdint>

#include "debug/message_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size == 0) return 0;
  mowa::debug::MessageReader reader;
  // The first byte chooses the piece size, as a pipe splits the stream.
  const std::size_t piece = 1 + data[0] % 64;
  const char* bytes = reinterpret_cast<const char*>(data + 1);
  std::size_t left = size - 1;
  mowa::debug::MessageReader::Item item;
  while (left > 0) {
    const std::size_t n = left < piece ? left : piece;
    reader.feed(bytes, n);
    bytes += n;
    left -= n;
    while (reader.next(item)) {
    }
  }
  return 0;
}
