// Code page 932 and UTF-8 at the platform boundary, the input read as each.
// What comes out as UTF-8 is well formed; cp932 text read as UTF-8 and
// written back reads the same again (the replacement character coming back
// as '?'); and what comes out as cp932 goes to UTF-8 and back unchanged.
// (Bytes are not asked to come back: code page 932 spells some characters
// two ways, and its conversion to UTF-8 keeps only the character.)
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/cp932.h"
#include "fuzz_check.h"

namespace {

using mowa::fuzz::require;

bool well_formed_utf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const std::size_t n = b < 0x80         ? 1
                          : (b >> 5) == 6  ? 2
                          : (b >> 4) == 14 ? 3
                          : (b >> 3) == 30 ? 4
                                           : 0;
    if (n == 0 || i + n > s.size()) return false;
    std::uint32_t code = n == 1 ? b : b & (0x7Fu >> n);
    for (std::size_t k = 1; k < n; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      code = (code << 6) | (c & 0x3Fu);
    }
    constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[n] || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF))
      return false;
    i += n;
  }
  return true;
}

std::string with_question_marks(std::string utf8) {
  for (std::size_t at; (at = utf8.find("\xEF\xBF\xBD")) != std::string::npos;)
    utf8.replace(at, 3, "?");
  return utf8;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using mowa::base::cp932_to_utf8;
  using mowa::base::utf8_to_cp932;
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  const std::string utf8 = cp932_to_utf8(input);
  require(well_formed_utf8(utf8), "cp932 text became malformed UTF-8");
  require(cp932_to_utf8(utf8_to_cp932(utf8)) == with_question_marks(utf8),
          "cp932 text read as UTF-8 and written back reads otherwise");

  const std::string cp932 = utf8_to_cp932(input);
  const std::string back = cp932_to_utf8(cp932);
  require(well_formed_utf8(back), "converted text became malformed UTF-8");
  require(utf8_to_cp932(back) == cp932, "converted text did not come back");
  return 0;
}
