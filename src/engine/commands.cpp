#include "engine/commands.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "engine/interpreter.h"
#include "engine/label_table.h"
#include "engine/save_file.h"
#include "engine/variables.h"
#include "report/error_box.h"
#include "report/texts.h"

namespace mowa::engine {

using enum CommandId;

const CommandEntry kCommandTable[kCommandCount] = {
    {"goto", kGoto},
    {"if", kIf},
    {"gosub", kGosub},
    {"return", kReturn},
    {"wait", kWait},
    {"@", kAssign},
    {"check", kCheck},
    {"boxfill", kBoxFill},
    {"box", kBox},
    {"rand", kRand},
    {"save", kSave},
    {"load", kLoad},
    {"end", kEnd},
    {"get_mouse_state", kGetMouseState},
    {"get_mouse_position", kGetMousePosition},
    {"screen_big", kScreenBig},
    {"screen_small", kScreenSmall},
    {"screen_black_out", kScreenBlackOut},
    {"screen_black_in", kScreenBlackIn},
    {"gload", kGload},
    {"character", kCharacter},
    {"textmode", kTextMode},
    {"message", kMessage},
    {"message_out", kMessageOut},
    {"screen_big_small", kScreenBigSmall},
    {"play_wav", kPlayWav},
    {"stop_wav", kStopWav},
    {"play_midi", kPlayMidi},
    {"stop_midi", kStopMidi},
    {"screen_copy", kScreenCopy},
    {"number_write", kNumberWrite},
    {"text_write", kTextWrite},
    {"force_write", kForceWrite},
    {"dummy", kDummy},
};

const CommandEntry& find_command(const char* word) {
  if (word[0] == '\0') return kCommandTable[0];
  int i = 0;
  while (std::strcmp(kCommandTable[i].name, "dummy") != 0 &&
         std::strcmp(kCommandTable[i].name, word) != 0)
    ++i;
  return kCommandTable[i];
}

namespace {

constexpr char kCaption[] = "script_read";

// The byte at `i`, or 0 past the statement.
char at(const Statement& s, std::size_t i) {
  return i < s.length ? s.text[i] : '\0';
}

// The three bytes of a target variable at `i`, kept within the statement.
std::string target(const Statement& s, std::size_t i) {
  std::string r;
  for (std::size_t k = 0; k < 3; ++k) r += at(s, i + k);
  return r;
}

ArgumentReader arguments(Script& sc, const Statement& s) {
  return ArgumentReader(sc, s.text, s.q + 1 < s.end ? s.q + 1 : s.end, s.end);
}

// Text up to `stop` from `from`, or to the end of the arguments.
std::string text_until(const Statement& s, std::size_t from, char stop) {
  std::string r;
  for (std::size_t i = from; i < s.end && s.text[i] != stop; ++i) r += s.text[i];
  return r;
}

// Jumps to the label; a label that is not in the table is reported and ends
// the run.
int jump(Script& sc, std::string label) {
  if (label.size() > static_cast<std::size_t>(kWordBytes))
    label.resize(kWordBytes);
  if (script_search_label(sc, label.c_str())) return 0;
  error_box_with(sc.report, kCaption, texts::kNotFoundFmt, label.c_str());
  return 1;
}

bool file_name_fits(Script& sc, const std::string& name) {
  if (name.size() <= static_cast<std::size_t>(kFileNameBytes)) return true;
  error_box_with(sc.report, kCaption, texts::kTooLongFmt, name.c_str());
  return false;
}

int do_if(Script& sc, const Statement& s) {
  const std::string a_ref = target(s, s.q + 1);
  const char op = at(s, s.q + 4);
  std::int32_t x = 0;
  if (at(s, s.q + 5) == '@') {
    x = variable_get(sc, target(s, s.q + 5).c_str());
  } else if (s.q + 5 < s.length) {
    std::size_t stop = s.q + 5;
    while (stop < s.length && s.text[stop] != ',' && s.text[stop] != '\n')
      ++stop;
    std::size_t n = stop - (s.q + 5);
    if (n > static_cast<std::size_t>(kNumberBytes)) n = kNumberBytes;
    x = read_decimal(s.text + s.q + 5, n);
  }
  const std::int32_t a = variable_get(sc, a_ref.c_str());
  const bool holds = (op == '=' && a == x) || (op == '<' && a < x) ||
                     (op == '>' && a > x);
  // YES runs from the statement's first comma to the next; NO from the
  // second comma to the closing quote.
  const char* first = std::strchr(s.text, ',');
  const char* second = first ? std::strchr(first + 1, ',') : nullptr;
  std::string label;
  if (holds && first) {
    for (const char* c = first + 1; *c && *c != ',' && *c != '"' && *c != '\n'; ++c)
      label += *c;
  } else if (!holds && second) {
    for (const char* c = second + 1; *c && *c != '"' && *c != '\n'; ++c)
      label += *c;
  }
  return jump(sc, label);
}

// The operand of an assignment at `i`: a variable reference or a decimal
// number up to `stop`.
std::int32_t operand(Script& sc, const Statement& s, std::size_t i,
                     std::size_t stop) {
  if (at(s, i) == '@') return variable_get(sc, target(s, i).c_str());
  if (i >= stop) return 0;
  std::size_t n = stop - i;
  if (n > static_cast<std::size_t>(kNumberBytes)) n = kNumberBytes;
  return read_decimal(s.text + i, n);
}

void do_assign(Script& sc, const Statement& s) {
  const std::string target_ref = target(s, 0);
  std::size_t line_end = 0;
  while (line_end < s.length && s.text[line_end] != '\n') ++line_end;
  auto is_op = [](char c) { return c == '+' || c == '-' || c == '*' || c == '/'; };
  bool any_op = false;
  for (std::size_t i = 0; i < line_end; ++i) any_op = any_op || is_op(s.text[i]);
  if (!any_op) {
    variable_set(sc, target_ref.c_str(), operand(sc, s, 4, line_end));
    return;
  }
  std::int32_t left = 0;
  std::size_t op_at = 4;
  if (at(s, 4) == '@') {
    left = variable_get(sc, target(s, 4).c_str());
    op_at = 7;
  } else {
    while (op_at < line_end && !is_op(s.text[op_at])) ++op_at;
    left = operand(sc, s, 4, op_at);
  }
  const char op = op_at < line_end ? s.text[op_at] : '\0';
  if (!is_op(op)) return;
  const std::int32_t right = operand(sc, s, op_at + 1, line_end);
  const auto l = static_cast<std::uint32_t>(left);
  const auto r = static_cast<std::uint32_t>(right);
  std::int32_t value = 0;
  switch (op) {
    case '+': value = static_cast<std::int32_t>(l + r); break;
    case '-': value = static_cast<std::int32_t>(l - r); break;
    case '*': value = static_cast<std::int32_t>(l * r); break;
    default:
      if (right == 0) {
        error_box(sc.report, kCaption, texts::kDivideByZero);
        return;
      }
      if (left == std::numeric_limits<std::int32_t>::min() && right == -1)
        value = left;  // the one quotient that does not fit wraps to itself
      else
        value = left / right;
  }
  variable_set(sc, target_ref.c_str(), value);
}

void do_check(Script& sc, const Statement& s) {
  char text[100];
  std::snprintf(text, sizeof text, "check=%ld(script_pointer=%ld)\n",
                static_cast<long>(variable_get(sc, target(s, s.q + 1).c_str())),
                static_cast<long>(sc.pointer - 1));
  error_box(sc.report, kCaption, text);
}

void do_gload(Script& sc, CommandSink& sink, const Statement& s) {
  ArgumentReader args = arguments(sc, s);
  std::string file;
  args.text_to_comma(file, kFileNameBytes);
  const std::int32_t x = args.number();
  const std::int32_t y = args.number();
  const std::int32_t mode = args.number();
  if (file_name_fits(sc, file)) sink.gload(file.c_str(), x, y, mode);
}

void do_character(Script& sc, CommandSink& sink, const Statement& s) {
  ArgumentReader args = arguments(sc, s);
  std::string file;
  args.text_to_comma(file, kFileNameBytes);
  const std::int32_t x = args.number();
  const std::int32_t y = args.number();
  const std::int32_t opaque = args.number();
  const std::int32_t fifth = args.number();
  if (file_name_fits(sc, file))
    sink.character(file.c_str(), x, y, opaque, fifth);
}

void do_message(CommandSink& sink, const Statement& s) {
  // Without a closing quote the text runs to the end, line feed included.
  const std::size_t from = s.q + 1 < s.length ? s.q + 1 : s.length;
  std::size_t to = from;
  while (to < s.length && s.text[to] != '"') ++to;
  std::string text(s.text + from, to - from);
  if (text.size() >= static_cast<std::size_t>(kMessageBytes))
    text.resize(kMessageBytes - 1);
  sink.message(text.c_str());
}

void do_play_wav(Script& sc, CommandSink& sink, const Statement& s) {
  ArgumentReader args = arguments(sc, s);
  std::string file;
  args.text_to_comma(file, kFileNameBytes);
  const std::int32_t loop = args.number();
  if (file_name_fits(sc, file)) sink.play_wav(file.c_str(), loop);
}

void do_play_midi(Script& sc, CommandSink& sink, const Statement& s) {
  const std::string path = text_until(s, s.q + 1, '"');
  if (file_name_fits(sc, path)) sink.play_midi(path.c_str());
}

void do_text_write(Script& sc, CommandSink& sink, const Statement& s) {
  ArgumentReader args = arguments(sc, s);
  std::string text;
  args.text_to_comma(text, std::string::npos);
  const std::int32_t x = args.number();
  const std::int32_t y = args.number();
  const std::int32_t size = args.number();
  const std::int32_t colour = args.number();
  const std::int32_t opaque = args.number();
  sink.text_write(text.c_str(), x, y, size, colour, opaque);
}

}  // namespace

int execute(Script& sc, CommandSink& sink, CommandId id, const Statement& s) {
  switch (id) {
    case kGoto:
      return jump(sc, text_until(s, s.q + 1, '"'));
    case kGosub:
      sc.return_slot = sc.pointer;
      return jump(sc, text_until(s, s.q + 1, '"'));
    case kReturn:
      sc.pointer = sc.return_slot;
      return 0;
    case kIf:
      return do_if(sc, s);
    case kWait: {
      const std::int32_t delay_ms = arguments(sc, s).number();
      // A negative count would be an endless wait: it does not wait at all.
      if (delay_ms >= 0) sc.clock.Sleep(static_cast<pf::Dword>(delay_ms));
      return 0;
    }
    case kAssign:
      do_assign(sc, s);
      return 0;
    case kCheck:
      do_check(sc, s);
      return 0;
    case kBoxFill:
    case kBox: {
      ArgumentReader args = arguments(sc, s);
      const std::int32_t x1 = args.number(), y1 = args.number(),
                         x2 = args.number(), y2 = args.number(),
                         colour = args.number();
      if (id == kBoxFill) sink.boxfill(x1, y1, x2, y2, colour);
      else sink.box(x1, y1, x2, y2, colour);
      return 0;
    }
    case kRand:
      variable_set(sc, target(s, s.q + 1).c_str(), next_random(sc));
      return 0;
    case kSave:
      save(sc);
      return 0;
    case kLoad:
      load(sc);
      return 0;
    case kEnd:
      return 1;
    case kGetMouseState:
      variable_set(sc, target(s, s.q + 1).c_str(), sink.mouse_state());
      return 0;
    case kGetMousePosition: {
      std::int32_t x = 0, y = 0;
      sink.mouse_position(x, y);
      variable_set(sc, target(s, s.q + 1).c_str(), x);
      variable_set(sc, target(s, s.q + 5).c_str(), y);
      return 0;
    }
    case kScreenBig:
      trace(sc.report, "[screen_big]\n");
      return 0;
    case kScreenSmall:
      trace(sc.report, "[screen_small]\n");
      return 0;
    case kScreenBlackOut:
      sink.screen_black_out(arguments(sc, s).number());
      return 0;
    case kScreenBlackIn:
      sink.screen_black_in(arguments(sc, s).number());
      return 0;
    case kGload:
      do_gload(sc, sink, s);
      return 0;
    case kCharacter:
      do_character(sc, sink, s);
      return 0;
    case kTextMode:
      trace(sc.report, "[textmode]\n");
      return 0;
    case kMessage:
      do_message(sink, s);
      return 0;
    case kMessageOut:
      sink.message_out();
      return 0;
    case kScreenBigSmall:
      sink.screen_big_small();
      return 0;
    case kPlayWav:
      do_play_wav(sc, sink, s);
      return 0;
    case kStopWav:
      sink.stop_wav();
      return 0;
    case kPlayMidi:
      do_play_midi(sc, sink, s);
      return 0;
    case kStopMidi:
      sink.stop_midi();
      return 0;
    case kScreenCopy: {
      ArgumentReader args = arguments(sc, s);
      const std::int32_t x1 = args.number(), y1 = args.number(),
                         x2 = args.number(), y2 = args.number(),
                         dx = args.number(), dy = args.number();
      sink.screen_copy(x1, y1, x2, y2, dx, dy);
      return 0;
    }
    case kNumberWrite: {
      ArgumentReader args = arguments(sc, s);
      const std::int32_t value = args.number(), x = args.number(),
                         y = args.number(), size = args.number(),
                         colour = args.number(), opaque = args.number();
      sink.number_write(value, x, y, size, colour, opaque);
      return 0;
    }
    case kTextWrite:
      do_text_write(sc, sink, s);
      return 0;
    case kForceWrite:
      sink.force_write();
      return 0;
    case kDummy:
      trace(sc.report, "dummy or not defined\n");
      return 0;
  }
  return 0;
}

}  // namespace mowa::engine
