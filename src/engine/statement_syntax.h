// How a statement is taken apart: blank removal, the command word, and where
// each argument lies. Positions only, no values: the interpreter evaluates
// what these routines find, and the scenario checker reports on the same
// findings, so the two can never read a statement differently.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/script.h"

namespace mowa::engine {

// One statement after blank removal. `q` is the position of its first double
// quote (the length of its command word); `end` is where its arguments stop:
// the next double quote, else its line feed, else its end.
struct Statement {
  const char* text;
  std::size_t length;
  std::size_t q;
  std::size_t end;
};

// Removes every space and tab, keeping the order of the other bytes. When
// `origin` is given, origin[k] receives the position in the line as read of
// the byte that now stands at k.
std::size_t remove_blanks(char* s, std::uint16_t* origin = nullptr);

// `text` after blank removal, as the interpreter takes it apart.
Statement split_statement(const char* text, std::size_t length);

// The command word: "@" for an assignment, else the bytes before the first
// double quote or line feed, cut at 30 bytes (a longer word names no
// command).
void command_word(const Statement& s, char (&word)[kWordBytes + 1]);

// A run of bytes [begin, end) of the statement.
struct Span {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t size() const { return end - begin; }
};

// A number argument: a variable reference (its three bytes, some perhaps
// missing at the end of the arguments) or the text of a decimal number.
struct NumberSpan {
  Span text;
  bool reference = false;
  bool present = false;  // false: the arguments ended before it
};

// Walks the arguments of one statement from `at`, never past `end`.
class ArgumentCursor {
 public:
  ArgumentCursor(const char* statement, std::size_t at, std::size_t end)
      : s_(statement), at_(at), end_(end) {}
  // Past a number's text and its comma, or four bytes past a reference (the
  // byte after it is not examined).
  NumberSpan number();
  // Text up to the next comma, which is passed over; `comma` tells whether
  // there was one.
  Span text_to_comma(bool* comma = nullptr);
  std::size_t position() const { return at_; }

 private:
  const char* s_;
  std::size_t at_;
  std::size_t end_;
};

// The parts of `if"@AB?X,YES,NO"`.
struct IfParts {
  std::size_t variable_at = 0;  // three bytes
  std::size_t operator_at = 0;  // may lie past the statement
  NumberSpan x;
  bool have_yes = false, have_no = false;  // the first and second comma
  Span yes, no;
};
IfParts split_if(const Statement& s);

// The parts of `@NN=E`: one operand, or a left operand, an operator and a
// right operand.
struct AssignParts {
  std::size_t line_end = 0;  // the line feed, or the statement's end
  bool any_operator = false;
  NumberSpan left;  // the whole expression when there is no operator
  std::size_t operator_at = 0;
  char op = '\0';  // not one of + - * / : nothing is stored
  NumberSpan right;
};
AssignParts split_assign(const Statement& s);
bool is_assign_operator(char c);

}  // namespace mowa::engine
