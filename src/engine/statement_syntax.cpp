#include "engine/statement_syntax.h"

#include <algorithm>
#include <cstring>

namespace mowa::engine {

std::size_t remove_blanks(char* s, std::uint16_t* origin) {
  std::size_t out = 0;
  for (std::size_t in = 0; s[in] != '\0'; ++in) {
    if (s[in] == ' ' || s[in] == '\t') continue;
    if (origin != nullptr) origin[out] = static_cast<std::uint16_t>(in);
    s[out++] = s[in];
  }
  s[out] = '\0';
  return out;
}

Statement split_statement(const char* text, std::size_t length) {
  Statement s{};
  s.text = text;
  s.length = length;
  s.q = text[0] == '@' ? 1 : std::strcspn(text, "\"\n");
  s.end = s.q < s.length ? s.q + 1 : s.length;
  while (s.end < s.length && text[s.end] != '"' && text[s.end] != '\n') ++s.end;
  return s;
}

void command_word(const Statement& s, char (&word)[kWordBytes + 1]) {
  std::memset(word, 0, sizeof word);
  if (s.text[0] == '@') {
    word[0] = '@';
    return;
  }
  std::memcpy(word, s.text, std::min<std::size_t>(s.q, kWordBytes));
}

NumberSpan ArgumentCursor::number() {
  NumberSpan n;
  n.text = {at_, at_};
  if (at_ >= end_) return n;
  n.present = true;
  if (s_[at_] == '@') {
    n.reference = true;
    n.text = {at_, std::min(at_ + 3, end_)};
    at_ = std::min(at_ + 4, end_);
    return n;
  }
  std::size_t stop = at_;
  while (stop < end_ && s_[stop] != ',' && s_[stop] != '"') ++stop;
  n.text = {at_, stop};
  at_ = (stop < end_ && s_[stop] == ',') ? stop + 1 : stop;
  return n;
}

Span ArgumentCursor::text_to_comma(bool* comma) {
  std::size_t stop = at_;
  while (stop < end_ && s_[stop] != ',') ++stop;
  const Span text{at_, stop};
  if (comma != nullptr) *comma = stop < end_;
  at_ = stop < end_ ? stop + 1 : stop;
  return text;
}

namespace {

// An operand at `i` that, when not a reference, runs up to `stop`.
NumberSpan operand_at(const Statement& s, std::size_t i, std::size_t stop) {
  NumberSpan n;
  if (i < s.length && s.text[i] == '@') {
    n.present = n.reference = true;
    n.text = {i, std::min(i + 3, s.length)};
    return n;
  }
  n.present = i < stop;
  if (n.present) n.text = {i, stop};
  return n;
}

}  // namespace

IfParts split_if(const Statement& s) {
  IfParts r;
  r.variable_at = s.q + 1;
  r.operator_at = s.q + 4;
  const std::size_t x_at = s.q + 5;
  if (x_at < s.length && s.text[x_at] == '@') {
    r.x = operand_at(s, x_at, s.length);
  } else if (x_at < s.length) {
    std::size_t stop = x_at;
    while (stop < s.length && s.text[stop] != ',' && s.text[stop] != '\n')
      ++stop;
    r.x = operand_at(s, x_at, stop);
  }
  // YES runs from the statement's first comma to the next; NO from the
  // second comma to the closing quote.
  const char* first = std::strchr(s.text, ',');
  const char* second = first ? std::strchr(first + 1, ',') : nullptr;
  auto span_from = [&](const char* c, const char* stops) {
    Span span;
    span.begin = static_cast<std::size_t>(c - s.text);
    span.end = span.begin;
    while (span.end < s.length && !std::strchr(stops, s.text[span.end]))
      ++span.end;
    return span;
  };
  if (first) {
    r.have_yes = true;
    r.yes = span_from(first + 1, ",\"\n");
  }
  if (second) {
    r.have_no = true;
    r.no = span_from(second + 1, "\"\n");
  }
  return r;
}

bool is_assign_operator(char c) {
  return c == '+' || c == '-' || c == '*' || c == '/';
}

AssignParts split_assign(const Statement& s) {
  AssignParts r;
  while (r.line_end < s.length && s.text[r.line_end] != '\n') ++r.line_end;
  for (std::size_t i = 0; i < r.line_end; ++i)
    r.any_operator = r.any_operator || is_assign_operator(s.text[i]);
  if (!r.any_operator) {
    r.left = operand_at(s, 4, r.line_end);
    return r;
  }
  if (4 < s.length && s.text[4] == '@') {
    r.left = operand_at(s, 4, r.line_end);
    r.operator_at = 7;
  } else {
    r.operator_at = 4;
    while (r.operator_at < r.line_end &&
           !is_assign_operator(s.text[r.operator_at]))
      ++r.operator_at;
    r.left = operand_at(s, 4, r.operator_at);
  }
  r.op = r.operator_at < r.line_end ? s.text[r.operator_at] : '\0';
  if (!is_assign_operator(r.op)) return r;
  r.right = operand_at(s, r.operator_at + 1, r.line_end);
  return r;
}

}  // namespace mowa::engine
