// Texts: the bytes of code page 932, and a message as the message window
// reads and lays it out.
#include "base/cp932.h"
#include "lint/linter.h"

namespace mowa::lint {

namespace {

// The message window: lines at 348 + 32n and columns at 54 + 25c; what lies
// below or right of the window is cut off.
constexpr int kMessageLines = 4;
constexpr int kMessageColumns = 23;

bool is_escape_digit(char ch) {
  return is_digit(ch) || (ch >= 'a' && ch <= 'f');
}

}  // namespace

// Reports the first character that code page 932 does not have.
void Linter::check_cp932(const Context& c, engine::Span span) {
  const std::string_view text = text_of(c, span);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) continue;
    const std::size_t n = base::cp932_is_lead(b) && i + 1 < text.size() ? 2 : 1;
    if (utf8(text.substr(i, n)).find("\xEF\xBF\xBD") != std::string::npos) {
      report(c, span.begin + i, "bad-cp932",
             "the bytes here are not a character of code page 932",
             text.substr(i, n));
      return;
    }
    i += n - 1;
  }
}

// The message window's own reading of its text (the message layout):
// two-byte characters, one-byte half-width katakana, "/" line breaks, "c"
// colour escapes, everything else from 0x00 to 0x80 skipped.
void Linter::check_message(const Context& c, engine::Span span) {
  const std::string_view text = text_of(c, span);
  check_cp932(c, span);
  int line = 0, columns = 0;
  bool ascii_reported = false;
  bool wide_reported = false;
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b >= 0x81) {
      if (++columns > kMessageColumns && !wide_reported) {
        report(c, span.begin + i, "message-overflow",
               "a message line holds " + std::to_string(kMessageColumns) +
                   " characters; the rest runs off the window. Break the "
                   "line with /",
               text.substr(i));
        wide_reported = true;
      }
      // Half-width katakana are one byte, in a column of their own.
      i += (b >= 0xA1 && b <= 0xDF) ? 1 : 2;
    } else if (b == '/') {
      if (++line == kMessageLines)
        report(c, span.begin + i, "message-overflow",
               "the message window holds " + std::to_string(kMessageLines) +
                   " lines; the lines from here on are cut off",
               text.substr(i));
      columns = 0;
      wide_reported = false;
      ++i;
    } else if (b == 'c') {
      std::size_t k = 1;
      while (k < 7 && i + k < text.size() && is_escape_digit(text[i + k])) ++k;
      if (k < 7) {
        std::size_t shown = 1;
        while (shown < 7 && i + shown < text.size() &&
               static_cast<unsigned char>(text[i + shown]) < 0x80)
          ++shown;
        report(c, span.begin + i, "message-escape",
               "\"c\" starts a colour escape and takes the six bytes after "
               "it: " +
                   in_quotes(text.substr(i, shown)) +
                   " is not a colour such as c0000ff, and the letter and the "
                   "six "
                   "bytes after it do not show",
               text.substr(i, shown));
        // The window reads on out of step with the characters.
        return;
      }
      i += 7;
    } else {
      if (b != '\n' && !ascii_reported) {
        std::size_t end = i;
        while (end < text.size() &&
               static_cast<unsigned char>(text[end]) < 0x81 &&
               text[end] != '/' && text[end] != 'c' && text[end] != '\n')
          ++end;
        report(c, span.begin + i, "message-ascii",
               "ASCII in a message is skipped: " +
                   in_quotes(text.substr(i, end - i)) +
                   " does not show; use full-width characters",
               text.substr(i, end - i));
        ascii_reported = true;
      }
      ++i;
    }
  }
}

}  // namespace mowa::lint
