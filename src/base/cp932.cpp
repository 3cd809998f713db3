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

struct WindowsChar {
  unsigned char lead, trail;
  char32_t code_point;
};
constexpr WindowsChar kWindowsChars[] = {
    {0x81, 0x5F, 0xFF3C}, {0x81, 0x60, 0xFF5E}, {0x81, 0x61, 0x2225},
    {0x81, 0x7C, 0xFF0D}, {0x81, 0x91, 0xFFE0}, {0x81, 0x92, 0xFFE1},
    {0x81, 0xCA, 0xFFE2},
};

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool is_ascii(std::string_view s) {
  for (const char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

bool cp932_windows_char(unsigned char lead, unsigned char trail,
                        char32_t& code_point) {
  for (const WindowsChar& w : kWindowsChars) {
    if (w.lead == lead && w.trail == trail) {
      code_point = w.code_point;
      return true;
    }
  }
  return false;
}

const char* cp932_iconv_name() {
  static const char* const name = [] {
    const iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return "SHIFT_JIS";
    iconv_close(cd);
    return "CP932";
  }();
  return name;
}

// ASCII reads the same in both; most names are ASCII, and opening a converter
// costs far more than the name itself.
std::string cp932_to_utf8(std::string_view cp932) {
  if (is_ascii(cp932)) return std::string(cp932);
  const auto skip = [](std::string_view rest) -> size_t {
    const auto b = static_cast<unsigned char>(rest[0]);
    return (cp932_is_lead(b) && rest.size() >= 2) ? 2 : 1;
  };
  Converter c("UTF-8", cp932_iconv_name());
  if (std::string_view(cp932_iconv_name()) != "CP932") {
    // A character at a time, so that Windows' readings can be put in.
    std::string out;
    for (std::size_t i = 0; i < cp932.size();) {
      const std::size_t n = skip(cp932.substr(i));
      char32_t windows = 0;
      if (n == 2 &&
          cp932_windows_char(static_cast<unsigned char>(cp932[i]),
                             static_cast<unsigned char>(cp932[i + 1]), windows))
        append_utf8(out, windows);
      else
        out += c.run(cp932.substr(i, n), "\xEF\xBF\xBD", skip);
      i += n;
    }
    return out;
  }
  return c.run(cp932, "\xEF\xBF\xBD", skip);
}

std::string utf8_to_cp932(std::string_view utf8) {
  if (is_ascii(utf8)) return std::string(utf8);
  Converter c(cp932_iconv_name(), "UTF-8");
  return c.run(utf8, "?", [](std::string_view rest) -> size_t {
    const auto b = static_cast<unsigned char>(rest[0]);
    size_t n = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return n > rest.size() ? rest.size() : n;
  });
}

}  // namespace mowa::base
