// Builds the bytes of a binary file field by field.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mowa::demo {

class ByteWriter {
 public:
  void byte(std::uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
  void text(std::string_view s) { bytes_.append(s); }
  void le16(std::uint32_t v);
  void le32(std::uint32_t v);
  void be16(std::uint32_t v);
  void be32(std::uint32_t v);
  // A MIDI variable-length quantity: seven bits a byte, most significant first.
  void vlq(std::uint32_t v);
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace mowa::demo
