#include "engine/interpreter.h"

#include <cstring>
#include <optional>

#include "engine/commands.h"
#include "engine/label_table.h"
#include "engine/statement_syntax.h"
#include "engine/statement_trace.h"
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
  const int result = execute(sc, sink, entry.id, s);
  if (traced && sc.trace)
    sc.trace->line(traced->finish(entry.id, result, sc.pointer, sc.variables));
  if (sc.observer) sc.observer->after_statement(sc, line_run, entry.id, result);
  return result;
}

}  // namespace mowa::engine
