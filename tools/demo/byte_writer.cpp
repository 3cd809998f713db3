#include "byte_writer.h"

namespace mowa::demo {

void ByteWriter::le16(std::uint32_t v) {
  byte(static_cast<std::uint8_t>(v));
  byte(static_cast<std::uint8_t>(v >> 8));
}

void ByteWriter::le32(std::uint32_t v) {
  le16(v & 0xFFFF);
  le16(v >> 16);
}

void ByteWriter::be16(std::uint32_t v) {
  byte(static_cast<std::uint8_t>(v >> 8));
  byte(static_cast<std::uint8_t>(v));
}

void ByteWriter::be32(std::uint32_t v) {
  be16(v >> 16);
  be16(v & 0xFFFF);
}

void ByteWriter::vlq(std::uint32_t v) {
  std::uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = static_cast<std::uint8_t>(v & 0x7F);
    v >>= 7;
  } while (v != 0);
  while (n > 1) byte(static_cast<std::uint8_t>(groups[--n] | 0x80));
  byte(groups[0]);
}

}  // namespace mowa::demo
