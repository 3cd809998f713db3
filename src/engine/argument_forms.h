// What a command takes as arguments, in the order it reads them, and where
// each of them lies in a statement: the one reading that both the
// interpreter and the scenario checker use.
#pragma once

#include <cstdint>

#include "engine/statement_syntax.h"

namespace mowa::engine {

enum class CommandId : std::uint32_t;

enum class ArgumentKind : std::uint8_t {
  number,      // N: a decimal number or a variable reference
  file,        // F up to the first comma, at most 80 bytes
  text,        // T up to the first comma
  whole_text,  // T up to the next double quote, else the rest of the line
  path,        // F up to the closing quote, at most 80 bytes
  label,       // L up to the closing quote, cut at 30 bytes
  target,      // V: three bytes at Q + 1 (the second one at Q + 5)
};

inline constexpr int kMaxArguments = 6;

struct ArgumentForm {
  std::uint8_t count = 0;
  ArgumentKind kinds[kMaxArguments] = {};
};

// The form of a command, or null for the commands that take no arguments and
// for `if` and `@`, whose forms are their own (split_if, split_assign).
const ArgumentForm* argument_form(CommandId id);

struct ArgumentSpan {
  ArgumentKind kind = ArgumentKind::number;
  Span text;
  bool reference = false;  // a number argument written as a variable
  bool present = false;    // false: the statement ended before it
};

struct ScannedArguments {
  ArgumentSpan args[kMaxArguments];
  int count = 0;
};

// Where each argument of the statement lies, read as the interpreter reads
// it.
ScannedArguments scan_arguments(const Statement& s, const ArgumentForm& form);

}  // namespace mowa::engine
