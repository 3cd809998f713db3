#include "engine/variables.h"

#include "report/error_box.h"
#include "report/texts.h"

namespace mowa::engine {
namespace {

constexpr char kCaption[] = "script_read";

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The variable index of a reference, or -1 (reported) when its two bytes are
// not digits.
int variable_index(Script& sc, const char* reference) {
  const char a = reference[0] ? reference[1] : '\0';
  const char b = a ? reference[2] : '\0';
  if (is_digit(a) && is_digit(b)) return (a - '0') * 10 + (b - '0');
  std::string shown;
  for (int i = 0; i < 3 && reference[i] && reference[i] != '\n'; ++i)
    shown += reference[i];
  error_box_with(sc.report, kCaption, texts::kNotVariableFmt, shown.c_str());
  return -1;
}

}  // namespace

std::int32_t variable_get(Script& sc, const char* reference) {
  const int i = variable_index(sc, reference);
  return i < 0 ? 0 : sc.variables[i];
}

void variable_set(Script& sc, const char* reference, std::int32_t value) {
  const int i = variable_index(sc, reference);
  if (i >= 0) sc.variables[i] = value;
}

std::int32_t read_decimal(const char* text, std::size_t length) {
  std::size_t i = 0;
  bool negative = false;
  if (i < length && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::uint32_t value = 0;
  for (; i < length && is_digit(text[i]); ++i)
    value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

std::int32_t ArgumentReader::number() {
  if (at_ >= end_) return 0;
  if (s_[at_] == '@') {
    // The reference and the separator after it, which is not examined.
    char reference[4] = {'@', '\0', '\0', '\0'};
    for (std::size_t k = 1; k < 3 && at_ + k < end_; ++k)
      reference[k] = s_[at_ + k];
    at_ = at_ + 4 < end_ ? at_ + 4 : end_;
    return variable_get(sc_, reference);
  }
  std::size_t stop = at_;
  while (stop < end_ && s_[stop] != ',' && s_[stop] != '"') ++stop;
  std::size_t length = stop - at_;
  if (length > static_cast<std::size_t>(kNumberBytes)) length = kNumberBytes;
  const std::int32_t value = read_decimal(s_ + at_, length);
  at_ = (stop < end_ && s_[stop] == ',') ? stop + 1 : stop;
  return value;
}

bool ArgumentReader::text_to_comma(std::string& out, std::size_t max_bytes) {
  std::size_t stop = at_;
  while (stop < end_ && s_[stop] != ',') ++stop;
  out.assign(s_ + at_, stop - at_);
  at_ = stop < end_ ? stop + 1 : stop;
  if (out.size() <= max_bytes) return true;
  return false;
}

bool ArgumentReader::text_to_end(std::string& out, std::size_t max_bytes) {
  out.assign(s_ + at_, end_ - at_);
  at_ = end_;
  return out.size() <= max_bytes;
}

}  // namespace mowa::engine
