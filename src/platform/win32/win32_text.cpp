#include "platform/win32/win32_text.h"

#include "base/cp932.h"

#include <windows.h>

#include <cstring>

namespace mowa::pf {
namespace {

constexpr UINT kCodePage932 = 932;

std::wstring to_wide(UINT code_page, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(code_page, 0, bytes.data(),
                                    static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0)
    MultiByteToWideChar(code_page, 0, bytes.data(),
                        static_cast<int>(bytes.size()), wide.data(), n);
  return wide;
}

std::string from_wide(UINT code_page, std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(code_page, 0, wide.data(),
                                    static_cast<int>(wide.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(code_page, 0, wide.data(),
                        static_cast<int>(wide.size()), bytes.data(), n, nullptr,
                        nullptr);
  return bytes;
}

bool is_lead(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

}  // namespace

std::wstring cp932_to_wide(std::string_view cp932) {
  return to_wide(kCodePage932, cp932);
}
std::string wide_to_cp932(std::wstring_view wide) {
  return from_wide(kCodePage932, wide);
}
std::string wide_to_utf8(std::wstring_view wide) {
  return from_wide(CP_UTF8, wide);
}
std::wstring utf8_to_wide(std::string_view utf8) {
  return to_wide(CP_UTF8, utf8);
}

void copy_cp932(std::string_view cp932, char* buffer, unsigned length) {
  if (!buffer || length == 0) return;
  std::size_t n = 0;
  while (n < cp932.size()) {
    const std::size_t step =
        is_lead(static_cast<unsigned char>(cp932[n])) ? 2 : 1;
    if (n + step > cp932.size() || n + step > length - 1) break;
    n += step;
  }
  std::memcpy(buffer, cp932.data(), n);
  buffer[n] = '\0';
}

}  // namespace mowa::pf

// The helpers' conversions, by Windows itself here rather than by iconv.
namespace mowa::base {

std::string cp932_to_utf8(std::string_view cp932) {
  return pf::wide_to_utf8(pf::cp932_to_wide(cp932));
}

std::string utf8_to_cp932(std::string_view utf8) {
  return pf::wide_to_cp932(pf::utf8_to_wide(utf8));
}

}  // namespace mowa::base
