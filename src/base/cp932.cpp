#include "base/cp932.h"

#include <iconv.h>

#include <cerrno>

namespace mowa::base {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts `in`; a sequence that cannot be converted is skipped
  // `skip(in)` bytes at a time and replaced by `replacement`.
  template <typename Skip>
  std::string run(std::string_view in, std::string_view replacement,
                  Skip skip) {
    std::string out;
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    char buffer[256];
    while (src_left > 0) {
      char* dst = buffer;
      size_t dst_left = sizeof buffer;
      const size_t r = iconv(cd_, &src, &src_left, &dst, &dst_left);
      out.append(buffer, static_cast<size_t>(dst - buffer));
      if (r == static_cast<size_t>(-1) && errno != E2BIG) {
        const size_t n = skip(std::string_view(src, src_left));
        src += n;
        src_left -= n;
        out.append(replacement);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    return out;
  }

 private:
  iconv_t cd_;
};

bool is_ascii(std::string_view s) {
  for (const char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

// ASCII reads the same in both; most names are ASCII, and opening a converter
// costs far more than the name itself.
std::string cp932_to_utf8(std::string_view cp932) {
  if (is_ascii(cp932)) return std::string(cp932);
  Converter c("UTF-8", "CP932");
  return c.run(cp932, "\xEF\xBF\xBD", [](std::string_view rest) -> size_t {
    const auto b = static_cast<unsigned char>(rest[0]);
    return (cp932_is_lead(b) && rest.size() >= 2) ? 2 : 1;
  });
}

std::string utf8_to_cp932(std::string_view utf8) {
  if (is_ascii(utf8)) return std::string(utf8);
  Converter c("CP932", "UTF-8");
  return c.run(utf8, "?", [](std::string_view rest) -> size_t {
    const auto b = static_cast<unsigned char>(rest[0]);
    size_t n = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return n > rest.size() ? rest.size() : n;
  });
}

}  // namespace mowa::base
