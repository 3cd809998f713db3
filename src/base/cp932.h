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

// The characters that Shift-JIS converters read otherwise than Windows does
// (0x8160 is U+FF5E here, U+301C in JIS): their code points as code page
// 932 has them. False for every other pair.
bool cp932_windows_char(unsigned char lead, unsigned char trail,
                        char32_t& code_point);
// iconv's name for code page 932: "CP932", or on a C library without it
// (emscripten's) "SHIFT_JIS", whose readings cp932_windows_char mends.
const char* cp932_iconv_name();

// Bytes that cannot be converted become U+FFFD; a lead byte with no second
// byte too.
std::string cp932_to_utf8(std::string_view cp932);
// Characters that code page 932 lacks become '?'.
std::string utf8_to_cp932(std::string_view utf8);

}  // namespace mowa::base
