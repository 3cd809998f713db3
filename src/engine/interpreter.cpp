#include "engine/interpreter.h"

#include <cstring>

#include "engine/commands.h"
#include "engine/label_table.h"
#include "report/error_box.h"
#include "report/texts.h"

namespace mowa::engine {
namespace {

// Removes every space and tab, keeping the order of the other bytes.
std::size_t remove_blanks(char* s) {
  std::size_t out = 0;
  for (std::size_t in = 0; s[in] != '\0'; ++in)
    if (s[in] != ' ' && s[in] != '\t') s[out++] = s[in];
  s[out] = '\0';
  return out;
}

}  // namespace

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
  ++sc.pointer;

  Statement s{};
  s.text = line;
  s.length = remove_blanks(line);
  if (line[0] == '@') {
    s.q = 1;
  } else {
    s.q = std::strcspn(line, "\"\n");
  }
  s.end = s.q < s.length ? s.q + 1 : s.length;
  while (s.end < s.length && line[s.end] != '"' && line[s.end] != '\n') ++s.end;

  char word[kWordBytes + 1] = {};
  if (line[0] == '@') {
    word[0] = '@';
  } else {
    // A longer word keeps its first 30 bytes and so names no command.
    std::memcpy(word, line, s.q < kWordBytes ? s.q : kWordBytes);
  }
  const CommandEntry& entry = find_command(word);
  return execute(sc, sink, entry.id, s);
}

}  // namespace mowa::engine
