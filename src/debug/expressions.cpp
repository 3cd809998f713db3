#include "debug/expressions.h"

#include <cctype>
#include <cstring>
#include <limits>

namespace mowa::debug {
namespace {

std::string without_blanks(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c != ' ' && c != '\t') out += c;
  return out;
}

bool is_operator(char c) {
  return c == '+' || c == '-' || c == '*' || c == '/';
}

// An operand at the start of `text`: @NN, or a sign and digits read as the
// C library's atol reads them (wrapping beyond 32 bits). Sets `used` to the
// bytes it took.
Value operand(const std::string& text, const std::int32_t (&v)[100],
              std::size_t& used) {
  if (!text.empty() && text[0] == '@') {
    const auto index = variable_index(text.substr(0, 3));
    if (!index)
      return {std::nullopt, "'" + text.substr(0, 3) + "' is not @00 to @99"};
    used = 3;
    return {v[*index], ""};
  }
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    negative = text[i++] == '-';
  if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i])))
    return {std::nullopt, "'" + text + "' is neither a number nor @00 to @99"};
  std::uint32_t value = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
    value = value * 10u + static_cast<std::uint32_t>(text[i++] - '0');
  used = i;
  if (negative) value = 0u - value;
  return {static_cast<std::int32_t>(value), ""};
}

Value whole_operand(const std::string& text, const std::int32_t (&v)[100]) {
  std::size_t used = 0;
  Value r = operand(text, v, used);
  if (r.value && used != text.size())
    return {std::nullopt, "'" + text + "' is neither a number nor @00 to @99"};
  return r;
}

}  // namespace

std::optional<int> variable_index(const std::string& text) {
  if (text.size() != 3 || text[0] != '@' ||
      !std::isdigit(static_cast<unsigned char>(text[1])) ||
      !std::isdigit(static_cast<unsigned char>(text[2])))
    return std::nullopt;
  return (text[1] - '0') * 10 + (text[2] - '0');
}

Value evaluate(const std::string& expression, const std::int32_t (&v)[100]) {
  const std::string e = without_blanks(expression);
  if (e.empty()) return {std::nullopt, "nothing to evaluate"};
  // As `@NN=E`: a leading variable is three bytes and the operator follows;
  // else the left number runs up to the first operator byte, and may be
  // empty (0), so that -7 reads as 0 - 7.
  std::size_t op_at = std::string::npos;
  if (e[0] == '@') {
    if (e.size() > 3) op_at = 3;
  } else {
    for (std::size_t i = 0; i < e.size(); ++i)
      if (is_operator(e[i])) {
        op_at = i;
        break;
      }
  }
  if (op_at == std::string::npos) return whole_operand(e, v);
  if (!is_operator(e[op_at]))
    return {std::nullopt, "'" + e.substr(op_at, 1) + "' is not one of + - * /"};
  Value left{0, ""};
  if (op_at > 0) left = whole_operand(e.substr(0, op_at), v);
  if (!left.value) return left;
  std::size_t used = 0;
  // Only one operation is made: the rest after the right operand is left,
  // as the scenario leaves it.
  const Value right = operand(e.substr(op_at + 1), v, used);
  if (!right.value) return right;
  const auto l = static_cast<std::uint32_t>(*left.value);
  const auto r = static_cast<std::uint32_t>(*right.value);
  switch (e[op_at]) {
    case '+':
      return {static_cast<std::int32_t>(l + r), ""};
    case '-':
      return {static_cast<std::int32_t>(l - r), ""};
    case '*':
      return {static_cast<std::int32_t>(l * r), ""};
    default:
      if (*right.value == 0)
        return {std::nullopt, "division by zero (the scenario stores nothing)"};
      if (*left.value == std::numeric_limits<std::int32_t>::min() &&
          *right.value == -1)
        return {*left.value, ""};
      return {*left.value / *right.value, ""};
  }
}

Value compare(const std::string& condition, const std::int32_t (&v)[100]) {
  const std::string c = without_blanks(condition);
  const auto a = variable_index(c.substr(0, 3));
  if (!a) return {std::nullopt, "a condition begins with @00 to @99"};
  if (c.size() < 5 || (c[3] != '=' && c[3] != '<' && c[3] != '>'))
    return {std::nullopt, "a condition compares with =, < or >"};
  const Value x = whole_operand(c.substr(4), v);
  if (!x.value) return x;
  const std::int32_t left = v[*a];
  const bool holds = c[3] == '='   ? left == *x.value
                     : c[3] == '<' ? left < *x.value
                                   : left > *x.value;
  return {holds ? 1 : 0, ""};
}

std::string interpolate(const std::string& text, const std::int32_t (&v)[100]) {
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t open = text.find('{', at);
    const std::size_t close =
        open == std::string::npos ? open : text.find('}', open);
    if (close == std::string::npos) {
      out += text.substr(at);
      break;
    }
    out += text.substr(at, open - at);
    const Value r = evaluate(text.substr(open + 1, close - open - 1), v);
    out += r.value ? std::to_string(*r.value) : "<" + r.error + ">";
    at = close + 1;
  }
  return out;
}

}  // namespace mowa::debug
