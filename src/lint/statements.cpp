// Statements and commands: which lines run, the command word, the closing
// quote, and each argument read as the command's form says.
#include <algorithm>
#include <cstring>

#include "lint/linter.h"

namespace mowa::lint {

using engine::ArgumentKind;
using engine::CommandId;

void Linter::check_line(std::size_t index) {
  const Line& l = lines_[index];
  if (!l.before.empty())
    add_at(index, 0, "line-too-long",
           "the line is longer than 254 bytes; the engine reads its bytes "
           "from here "
           "on as a line of their own, and every later line number shifts",
           l.bytes.substr(0, 20));
  flows_.emplace_back();
  const char* bytes = l.bytes.c_str();
  if (engine::is_empty_line(bytes)) {
    kinds_.push_back(LineKind::skipped);
    return;
  }
  if (engine::is_comment_or_label_line(bytes)) {
    kinds_.push_back(LineKind::skipped);
    check_comment(index);
    return;
  }
  kinds_.push_back(LineKind::statement);
  check_statement(index);
}

void Linter::check_statement(std::size_t index) {
  char line[engine::kStatementBytes] = {};
  std::memcpy(line, lines_[index].bytes.c_str(), lines_[index].bytes.size());
  std::uint16_t origin[engine::kStatementBytes] = {};
  const engine::Statement s =
      engine::split_statement(line, engine::remove_blanks(line, origin));
  Context c{index, s, origin};
  char word[engine::kWordBytes + 1];
  engine::command_word(s, word);
  const engine::CommandEntry& entry = engine::find_command(word);
  if (entry.id == CommandId::kDummy && std::strcmp(word, "dummy") != 0) {
    unknown_command(c, std::string(s.text, std::min(s.q, s.length)));
    return;
  }
  Flow& flow = flows_[index];
  switch (entry.id) {
    case CommandId::kIf:
      check_if(c, flow);
      return;
    case CommandId::kAssign:
      check_assign(c);
      return;
    case CommandId::kReturn:
      flow.kind = Flow::back;
      return;
    case CommandId::kEnd:
      flow.kind = Flow::stop;
      return;
    case CommandId::kMessage:
    case CommandId::kMessageOut:
      // Each frame of the animation selects the window palette.
      flow.needs_palette = true;
      break;
    case CommandId::kScreenBlackOut:
    case CommandId::kScreenBlackIn:
      flow.palette = Flow::fades;
      break;
    default:
      break;
  }
  const engine::ArgumentForm* form = engine::argument_form(entry.id);
  if (form == nullptr) return;
  check_closing_quote(c);
  const engine::ScannedArguments args = engine::scan_arguments(s, *form);
  check_arguments(c, entry, args, flow);
}

void Linter::unknown_command(const Context& c, const std::string& word) {
  std::string message = "unknown command " + in_quotes(word) +
                        "; it only prints \"dummy or not defined\"";
  if (const std::string near = nearest_command(word); !near.empty())
    message += "; did you mean " + in_quotes(near) + "?";
  report(c, 0, "unknown-command", message, word);
}

namespace {

std::string lower(std::string s) {
  for (char& ch : s)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  return s;
}

}  // namespace

// The command nearest to the word: one that differs only in letter case,
// else one at most two edits away (one for short words).
std::string Linter::nearest_command(const std::string& word) {
  std::string best;
  int best_distance = word.size() <= 4 ? 1 : 2;
  for (const engine::CommandEntry& e : engine::kCommandTable) {
    const std::string name = e.name;
    if (name == "@" || name == "dummy") continue;
    const int d =
        lower(name) == lower(word) ? 0 : edit_distance(lower(word), name);
    if (d < best_distance || (d == best_distance && best.empty())) {
      best = name;
      best_distance = d;
    }
  }
  return best;
}

void Linter::check_closing_quote(const Context& c) {
  const engine::Statement& s = c.s;
  if (s.q >= s.length || s.text[s.q] != '"') return;
  if (s.end < s.length && s.text[s.end] == '"') return;
  report(c, s.end, "unclosed-quote",
         "the arguments are not closed by a double quote; they run to the end "
         "of the line",
         {s.text, s.end});
}

void Linter::check_arguments(const Context& c,
                             const engine::CommandEntry& entry,
                             const engine::ScannedArguments& args, Flow& flow) {
  std::optional<std::int32_t> numbers[engine::kMaxArguments];
  int count = 0;
  std::string file;
  std::size_t file_at = 0;
  bool file_ok = false;
  for (int i = 0; i < args.count; ++i) {
    const engine::ArgumentSpan& a = args.args[i];
    const std::string_view text = text_of(c, a.text);
    switch (a.kind) {
      case ArgumentKind::number: {
        const std::string what =
            std::string(entry.name) + "'s argument " + std::to_string(i + 1);
        numbers[count++] =
            check_number(c, {a.text, a.reference, a.present}, what);
        break;
      }
      case ArgumentKind::target:
        if (!a.present || a.text.size() < 3)
          report(c, a.text.begin, "missing-argument",
                 std::string(entry.name) + " needs a variable such as @01", "");
        else
          check_reference(c, a.text);
        break;
      case ArgumentKind::label:
        if (!a.present) {
          report(c, a.text.begin, "missing-argument",
                 std::string(entry.name) + " needs a label name", "");
          flow.kind = Flow::stop;
          break;
        }
        flow.kind = entry.id == CommandId::kGosub ? Flow::call : Flow::jump;
        flow.to[0] =
            jump_to(c.index, byte_of(c, a.text.begin), std::string(text));
        break;
      case ArgumentKind::file:
      case ArgumentKind::path:
        file = text;
        file_at = a.text.begin;
        file_ok = check_file_name(c, entry, a);
        break;
      case ArgumentKind::text:
        check_cp932(c, a.text);
        break;
      case ArgumentKind::whole_text:
        check_message(c, a.text);
        break;
    }
  }
  check_values(c, entry.id, numbers, file_ok ? file : std::string(), file_at,
               flow);
}

bool Linter::check_file_name(const Context& c,
                             const engine::CommandEntry& entry,
                             const engine::ArgumentSpan& a) {
  const std::string text(text_of(c, a.text));
  if (text.empty()) {
    report(c, a.text.begin, "missing-argument",
           std::string(entry.name) + " needs a file name", "");
    return false;
  }
  if (text.size() > static_cast<std::size_t>(engine::kFileNameBytes)) {
    report(c, a.text.begin, "long-file-name",
           "the file name is " + std::to_string(text.size()) +
               " bytes; at most 80 fit, and the command does nothing",
           text);
    return false;
  }
  if (a.kind == ArgumentKind::path && !(text.size() > 1 && text[0] == '.' &&
                                        (text[1] == '\\' || text[1] == '/'))) {
    report(
        c, a.text.begin, "midi-path",
        "play_midi drops the first character of its path, so " +
            in_quotes(text) + " opens " + in_quotes(text.substr(1)) +
            " glued to the folder's own name; write it as .\\" +
            text.substr(std::min(text.find_first_not_of(".\\/"), text.size())),
        text);
    return false;
  }
  return true;
}

}  // namespace mowa::lint
