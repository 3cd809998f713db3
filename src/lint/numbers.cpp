// Numbers, variables, if and assignments: what the engine reads from each,
// and what it silently ignores.
#include <algorithm>

#include "engine/variables.h"
#include "lint/linter.h"

namespace mowa::lint {

// A variable reference's digits; false (reported) when they are not digits.
bool Linter::check_reference(const Context& c, engine::Span span) {
  char reference[4] = {'@', '\0', '\0', '\0'};
  for (std::size_t k = 1; k < 3 && k < span.size(); ++k)
    reference[k] = c.s.text[span.begin + k];
  if (engine::variable_index_of(reference) >= 0) return true;
  report(c, span.begin, "bad-variable",
         "the variable reference " +
             in_quotes(without_newline(std::string(text_of(c, span)))) +
             " does not name a variable: after \"@\" come two digits, @00 to "
             "@99",
         text_of(c, span));
  return false;
}

// The value of a number written as a literal; nothing for a variable or a
// number that is missing or not a number (reported).
std::optional<std::int32_t> Linter::check_number(const Context& c,
                                                 const engine::NumberSpan& n,
                                                 const std::string& what) {
  if (!n.present) {
    report(c, n.text.begin, "missing-argument",
           what + " is missing (it reads as 0)", "");
    return std::nullopt;
  }
  if (n.reference) {
    check_reference(c, n.text);
    return std::nullopt;
  }
  const std::string_view text = text_of(c, n.text);
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t digits_from = i;
  while (i < text.size() && is_digit(text[i])) ++i;
  if (text.empty()) {
    report(c, n.text.begin, "missing-argument",
           what + " is missing (it reads as 0)", "");
    return std::nullopt;
  }
  if (i == digits_from) {
    report(c, n.text.begin, "bad-argument",
           what + " " + in_quotes(text) + " is not a number (it reads as 0)",
           text);
    return std::nullopt;
  }
  const std::int32_t value = engine::read_decimal(
      text.data(), std::min<std::size_t>(text.size(), engine::kNumberBytes));
  if (i < text.size())
    report(c, n.text.begin + i, "number-text",
           what + " " + in_quotes(text) + " reads as " + std::to_string(value) +
               "; " + in_quotes(text.substr(i)) + " is ignored",
           text);
  return value;
}

void Linter::check_if(const Context& c, Flow& flow) {
  const engine::Statement& s = c.s;
  check_closing_quote(c);
  const engine::IfParts parts = engine::split_if(s);
  if (parts.variable_at + 3 > s.length) {
    report(c, parts.variable_at, "missing-argument",
           "if needs a variable, an operator, a value and two labels: "
           "if\"@AB<X,YES,NO\"",
           "");
    flow.kind = Flow::stop;
    return;
  }
  check_reference(c, {parts.variable_at, parts.variable_at + 3});
  const char op =
      parts.operator_at < s.length ? s.text[parts.operator_at] : '\0';
  if (op != '<' && op != '>' && op != '=')
    report(c, parts.operator_at, "if-operator",
           "the operator " + in_quotes(std::string(1, op)) +
               " is none of < > =; the condition never holds and the jump "
               "always "
               "goes to NO",
           std::string(1, op));
  check_number(c, parts.x, "the value to compare with");
  flow.kind = Flow::branch;
  if (!parts.have_yes || parts.yes.size() == 0) {
    report(c, parts.have_yes ? parts.yes.begin : s.end, "missing-argument",
           "if needs its YES label after the first comma", "");
  } else {
    flow.to[0] = jump_to(c.index, byte_of(c, parts.yes.begin),
                         std::string(text_of(c, parts.yes)));
  }
  if (!parts.have_no || parts.no.size() == 0) {
    report(c, parts.have_no ? parts.no.begin : s.end, "if-no-label",
           "if has no NO label after a second comma; when the condition does "
           "not hold there is nowhere to go and the run ends",
           {s.text, s.end});
  } else {
    flow.to[1] = jump_to(c.index, byte_of(c, parts.no.begin),
                         std::string(text_of(c, parts.no)));
  }
}

void Linter::check_assign(const Context& c) {
  const engine::Statement& s = c.s;
  check_reference(c, {0, std::min<std::size_t>(3, s.length)});
  const engine::AssignParts parts = engine::split_assign(s);
  if (!parts.any_operator) {
    check_number(c, parts.left, "the value");
    if (parts.left.reference && parts.left.text.end < parts.line_end)
      report(c, parts.left.text.end, "number-text",
             "what follows the variable, " +
                 in_quotes({s.text + parts.left.text.end,
                            parts.line_end - parts.left.text.end}) +
                 ", is ignored",
             {s.text + 4,
              parts.line_end - std::min<std::size_t>(4, parts.line_end)});
    return;
  }
  if (parts.left.reference)
    check_reference(c, parts.left.text);
  else if (parts.left.present)
    check_left_operand(c, parts.left.text);
  if (!engine::is_assign_operator(parts.op)) {
    report(c, parts.operator_at, "bad-argument",
           "after the variable comes " +
               in_quotes(std::string(
                   1, parts.operator_at < parts.line_end ? parts.op : ' ')) +
               ", which is none of + - * /; nothing is stored",
           {s.text + parts.operator_at,
            parts.line_end - std::min(parts.operator_at, parts.line_end)});
    return;
  }
  const engine::NumberSpan& right = parts.right;
  if (!right.present) {
    report(c, parts.operator_at + 1, "missing-argument",
           "the operand after " + in_quotes(std::string(1, parts.op)) +
               " is missing (it reads as 0)",
           "");
    return;
  }
  if (right.reference) {
    check_reference(c, right.text);
    check_extra_operators(c, right.text.end, parts.line_end);
    return;
  }
  // The right operand's own sign is read with it.
  std::size_t i = right.text.begin;
  if (i < right.text.end && (s.text[i] == '+' || s.text[i] == '-')) ++i;
  if (check_extra_operators(c, i, parts.line_end)) return;
  check_number(c, right, "the operand");
}

void Linter::check_left_operand(const Context& c, engine::Span left) {
  const std::string_view text = text_of(c, left);
  std::size_t digits = 0;
  while (digits < text.size() && is_digit(text[digits])) ++digits;
  if (digits < text.size())
    report(c, left.begin + digits, "number-text",
           "the operand " + in_quotes(text) + " reads as " +
               std::to_string(engine::read_decimal(text.data(), digits)) +
               "; " + in_quotes(text.substr(digits)) + " is ignored",
           text);
}

// True (reported) when an operator follows the evaluated one.
bool Linter::check_extra_operators(const Context& c, std::size_t from,
                                   std::size_t line_end) {
  for (std::size_t i = from; i < line_end; ++i) {
    if (!engine::is_assign_operator(c.s.text[i])) continue;
    report(c, i, "assign-operators",
           "only one operator is evaluated; " +
               in_quotes(std::string_view(c.s.text + i, line_end - i)) +
               " is ignored. Split the sum over several statements",
           {c.s.text + 4, line_end - std::min<std::size_t>(4, line_end)});
    return true;
  }
  return false;
}

}  // namespace mowa::lint
