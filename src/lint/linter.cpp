// Reading the scenario as the engine reads it, and placing findings on the
// lines and columns an editor shows.
#include "lint/linter.h"

#include <algorithm>
#include <tuple>

#include "base/cp932.h"

namespace mowa::lint {

std::string utf8(std::string_view cp932) { return base::cp932_to_utf8(cp932); }

std::string in_quotes(std::string_view cp932) {
  return "'" + utf8(cp932) + "'";
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string without_newline(const std::string& s) {
  return !s.empty() && s.back() == '\n' ? s.substr(0, s.size() - 1) : s;
}

int edit_distance(const std::string& a, const std::string& b) {
  std::vector<int> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = static_cast<int>(j);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    int diagonal = row[0];
    row[0] = static_cast<int>(i);
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const int up = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1,
                         diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = up;
    }
  }
  return row[b.size()];
}

namespace {

// The length of the UTF-8 sequence at `at`, or 0 when it is not one.
std::size_t utf8_sequence(std::string_view s, std::size_t at) {
  const auto b = static_cast<unsigned char>(s[at]);
  const std::size_t n = b < 0x80                 ? 1
                        : b >= 0xC2 && b <= 0xDF ? 2
                        : b >= 0xE0 && b <= 0xEF ? 3
                        : b >= 0xF0 && b <= 0xF4 ? 4
                                                 : 0;
  if (n == 0 || at + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[at + k]) & 0xC0) != 0x80) return 0;
  return n;
}

// Text that reads as UTF-8 throughout and holds a character of three bytes
// or more (every Japanese one): code page 932 text almost never does.
bool reads_as_utf8(std::string_view s) {
  bool wide = false;
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t n = utf8_sequence(s, i);
    if (n == 0) return false;
    wide = wide || n >= 3;
    i += n;
  }
  return wide;
}

// The kinds that only report odd bytes in texts, which a file saved as UTF-8
// has everywhere.
bool about_text_bytes(const std::string& name) {
  return name == "bad-cp932" || name == "message-ascii" ||
         name == "message-escape" || name == "message-overflow";
}

}  // namespace

std::vector<Finding> Linter::run() {
  if (!read_lines()) return std::move(findings_);
  utf8_file_ = is_utf8_file();
  build_labels();
  for (std::size_t i = 0; i < lines_.size(); ++i) check_line(i);
  report_unused_labels();
  follow_flow();
  std::stable_sort(findings_.begin(), findings_.end(),
                   [](const Finding& a, const Finding& b) {
                     return std::tie(a.line, a.column) <
                            std::tie(b.line, b.column);
                   });
  return std::move(findings_);
}

bool Linter::read_lines() {
  pf::Stream* file = files_.fopen(engine::kScenarioPath, "rt");
  if (!file) {
    add(1, 1, "missing-file", "the scenario data\\mowa.snr is not found", "");
    return false;
  }
  char buffer[engine::kLineBytes];
  int physical = 1;
  std::string before;
  while (file->fgets(buffer, engine::kLineBytes)) {
    Line line{buffer, physical, before, false};
    if (!line.bytes.empty() && line.bytes.back() == '\n') {
      ++physical;
      before.clear();
    } else {
      before += line.bytes;
    }
    lines_.push_back(std::move(line));
  }
  files_.fclose(file);
  if (!lines_.empty()) lines_.back().last = true;
  return true;
}

// Reported once, at the first character beyond ASCII, with the column
// counted in UTF-8 characters as the writer's editor counts them.
bool Linter::is_utf8_file() {
  std::string all;
  for (const Line& l : lines_) all += l.bytes;
  if (!reads_as_utf8(all)) return false;
  for (const Line& l : lines_) {
    const std::string whole = l.before + without_newline(l.bytes);
    const auto first = std::find_if(whole.begin(), whole.end(), [](char ch) {
      return static_cast<unsigned char>(ch) >= 0x80;
    });
    if (first == whole.end()) continue;
    int characters = 1;
    for (std::size_t i = 0; i < static_cast<std::size_t>(first - whole.begin());
         i += utf8_sequence(whole, i))
      ++characters;
    findings_.push_back(
        {l.physical, characters, find_kind("utf8-scenario")->severity,
         "utf8-scenario",
         "the scenario is saved as UTF-8, but the program reads Shift-JIS "
         "(code page 932), so its Japanese texts show as other characters; "
         "convert it: mv data/mowa.snr mowa.utf8.snr && iconv -f UTF-8 -t "
         "CP932 mowa.utf8.snr > data/mowa.snr",
         whole});
    break;
  }
  return true;
}

void Linter::add(int line, int column, const char* name, std::string message,
                 std::string text) {
  if (utf8_file_ && about_text_bytes(name)) return;
  const Kind* kind = find_kind(name);
  findings_.push_back({line, column, kind->severity, name, std::move(message),
                       std::move(text)});
}

// Characters from the start of the physical line to byte `at` of read line
// `index`, counted from 1.
int Linter::column(std::size_t index, std::size_t at) const {
  const Line& l = lines_[index];
  const std::string all =
      l.before + l.bytes.substr(0, std::min(at, l.bytes.size()));
  int characters = 0;
  for (std::size_t i = 0; i < all.size(); ++i, ++characters)
    if (base::cp932_is_lead(static_cast<unsigned char>(all[i]))) ++i;
  return characters + 1;
}

void Linter::add_at(std::size_t index, std::size_t byte, const char* name,
                    std::string message, std::string_view text) {
  add(lines_[index].physical, column(index, byte), name, std::move(message),
      utf8(text));
}

// The byte of the line as read where statement position `at` came from.
std::size_t Linter::byte_of(const Context& c, std::size_t at) {
  if (at < c.s.length) return c.origin[at];
  return c.s.length == 0 ? 0 : c.origin[c.s.length - 1] + 1u;
}

void Linter::report(const Context& c, std::size_t at, const char* name,
                    std::string message, std::string_view text) {
  add_at(c.index, byte_of(c, at), name, std::move(message), text);
}

std::string_view Linter::text_of(const Context& c, engine::Span span) {
  return {c.s.text + span.begin, span.size()};
}

std::vector<Finding> lint_scenario(pf::FileService& files) {
  return Linter(files).run();
}

}  // namespace mowa::lint
