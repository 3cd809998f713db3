// Code page 932 at the Windows boundary: the program's texts are cp932
// bytes, and the wide calls take UTF-16 whatever the system's code page.
#pragma once

#include <string>
#include <string_view>

namespace mowa::pf {

// Bytes that code page 932 cannot map become U+30FB (the middle dot), as
// Windows converts them.
std::wstring cp932_to_wide(std::string_view cp932);
// Characters that code page 932 lacks become '?'.
std::string wide_to_cp932(std::wstring_view wide);
std::string wide_to_utf8(std::wstring_view wide);
std::wstring utf8_to_wide(std::string_view utf8);

// Copies `cp932` into `buffer` of `length` bytes with its terminator, cut
// so that no two-byte character is split.
void copy_cp932(std::string_view cp932, char* buffer, unsigned length);

}  // namespace mowa::pf
