// Code page 932 (Shift-JIS as Windows writes it) and UTF-8: the conversion
// at the platform boundary, and for the tools that read or write scenarios.
#pragma once

#include <string>
#include <string_view>

namespace mowa::base {

// Lead bytes of a two-byte character: 0x81-0x9F and 0xE0-0xFC.
constexpr bool cp932_is_lead(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Bytes that cannot be converted become U+FFFD; a lead byte with no second
// byte too.
std::string cp932_to_utf8(std::string_view cp932);
// Characters that code page 932 lacks become '?'.
std::string utf8_to_cp932(std::string_view utf8);

}  // namespace mowa::base
