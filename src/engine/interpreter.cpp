#include "engine/interpreter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "engine/commands.h"
#include "engine/label_table.h"
#include "engine/statement_syntax.h"
#include "report/error_box.h"
#include "report/texts.h"

namespace mowa::engine {

std::int32_t next_random(Script& s) {
  s.random_state = s.random_state * 214013u + 2531011u;
  return static_cast<std::int32_t>((s.random_state >> 16) & 0x7FFFu);
}

void seed_random(Script& s, std::uint32_t seed) { s.random_state = seed; }

int script_read(Script& sc, CommandSink& sink) {
  pf::Stream* file = sc.files.fopen(kScenarioPath, "rt");
  if (!file) {
    error_box(sc.report, "script_read", texts::kScenarioNotFound);
    return 1;
  }
  script_seek(sc, *file, sc.pointer);
  char line[kStatementBytes] = {};
  bool have = file->fgets(line, kLineBytes) != nullptr;
  for (;;) {
    while (have && is_empty_line(line)) {
      ++sc.pointer;
      have = file->fgets(line, kLineBytes) != nullptr;
    }
    if (!have || !is_comment_or_label_line(line)) break;
    ++sc.pointer;
    have = file->fgets(line, kLineBytes) != nullptr;
  }
  sc.files.fclose(file);
  // The end of the file without `end` ends the run as `end` would.
  if (!have) return 1;
  const std::int32_t line_run = sc.pointer;
  if (sc.observer && !sc.observer->before_statement(sc, line_run)) return 0;
  std::optional<StatementTrace> traced;
  if (sc.trace) traced.emplace(sc.pointer, line, sc.variables);
  ++sc.pointer;

  const Statement s = split_statement(line, remove_blanks(line));
  char word[kWordBytes + 1];
  command_word(s, word);
  const CommandEntry& entry = find_command(word);
  const int result = execute(sc, sink, entry, s);
  if (traced && sc.trace)
    sc.trace->line(traced->finish(entry.id, result, sc.pointer, sc.variables));
  if (sc.observer) sc.observer->after_statement(sc, line_run, entry.id, result);
  return result;
}

namespace {

// "→" in code page 932.
constexpr char kArrow[] = "\x81\xa8";

bool is_jump(CommandId id) {
  return id == CommandId::kGoto || id == CommandId::kGosub ||
         id == CommandId::kReturn || id == CommandId::kIf;
}

}  // namespace

StatementTrace::StatementTrace(std::int32_t line, const char* text_as_read,
                               const std::int32_t (&variables)[kVariableCount])
    : line_(line), text_(text_as_read) {
  while (!text_.empty() && (text_.back() == '\n' || text_.back() == '\r'))
    text_.pop_back();
  std::copy(std::begin(variables), std::end(variables), before_);
}

std::string StatementTrace::finish(
    CommandId id, int result, std::int32_t pointer,
    const std::int32_t (&variables)[kVariableCount]) const {
  std::string line = std::to_string(line_) + ": " + text_;
  if (is_jump(id)) {
    // A jump that ends the run found no label.
    line +=
        std::string(" ") + kArrow + " " +
        (result == 1 ? std::string("no such label") : std::to_string(pointer));
  }
  for (int i = 0; i < kVariableCount; ++i) {
    if (before_[i] == variables[i]) continue;
    char change[64];
    std::snprintf(change, sizeof change, "  @%02d %ld %s %ld", i,
                  static_cast<long>(before_[i]), kArrow,
                  static_cast<long>(variables[i]));
    line += change;
  }
  return line + "\n";
}

}  // namespace mowa::engine
