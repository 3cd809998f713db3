// One scenario line as the interpreter and the checker take it apart: blank
// removal, the statement's quote and end, the command word and its entry,
// then the arguments read by every command's form, by `if` and by `@`. The
// input is read as a line is: at most 255 bytes, up to its first line feed.
// The blank-free statement is copied into a buffer of exactly its length
// and terminator, so that a read past it is caught; every position found
// must lie within the statement.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "engine/argument_forms.h"
#include "engine/commands.h"
#include "engine/script.h"
#include "engine/statement_syntax.h"
#include "fuzz_check.h"

namespace {

using mowa::fuzz::require;
namespace engine = mowa::engine;

void within(const engine::Span& span, std::size_t length) {
  require(span.begin <= span.end && span.end <= length,
          "a span outside the statement");
}

void arguments(const engine::Statement& s) {
  for (const engine::CommandEntry& entry : engine::kCommandTable) {
    const engine::ArgumentForm* form = engine::argument_form(entry.id);
    if (form == nullptr) continue;
    const engine::ScannedArguments args = engine::scan_arguments(s, *form);
    require(args.count == form->count, "an argument count unlike the form");
    for (int i = 0; i < args.count; ++i) within(args.args[i].text, s.length);
  }
  const engine::IfParts parts = engine::split_if(s);
  within(parts.x.text, s.length);
  within(parts.yes, s.length);
  within(parts.no, s.length);
  const engine::AssignParts assign = engine::split_assign(s);
  require(assign.line_end <= s.length, "an assignment past the statement");
  within(assign.left.text, s.length);
  within(assign.right.text, s.length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  std::size_t read = 0;
  while (read < size && read < engine::kLineBytes - 1 && data[read++] != '\n') {
  }
  char as_read[engine::kStatementBytes] = {};
  std::memcpy(as_read, data, read);
  char line[engine::kStatementBytes];
  std::memcpy(line, as_read, sizeof line);
  std::uint16_t origin[engine::kStatementBytes] = {};
  const std::size_t length = engine::remove_blanks(line, origin);
  require(length == std::strlen(line), "blank removal lost its terminator");
  for (std::size_t k = 0; k < length; ++k) {
    require(line[k] != ' ' && line[k] != '\t', "a blank left in the statement");
    require(as_read[origin[k]] == line[k], "a byte's origin is not that byte");
    require(k == 0 || origin[k - 1] < origin[k], "origins out of order");
  }

  const auto exact = std::make_unique<char[]>(length + 1);
  std::memcpy(exact.get(), line, length + 1);
  const engine::Statement s = engine::split_statement(exact.get(), length);
  require(s.q <= s.length && s.end <= s.length,
          "quote or end past the statement");
  require(s.q >= s.length || s.end > s.q, "arguments end before the quote");

  char word[engine::kWordBytes + 1];
  engine::command_word(s, word);
  require(word[engine::kWordBytes] == '\0',
          "a command word without terminator");
  const engine::CommandEntry& entry = engine::find_command(word);
  require(entry.id == engine::CommandId::kDummy ||
              (word[0] == '\0' && entry.id == engine::CommandId::kGoto) ||
              std::strcmp(entry.name, word) == 0,
          "a command found under another word");
  arguments(s);
  return 0;
}
