#include "engine/commands.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "engine/interpreter.h"
#include "engine/label_table.h"
#include "engine/save_file.h"
#include "engine/variables.h"
#include "graphics/bmp_loader.h"
#include "graphics/boxes.h"
#include "graphics/composition.h"
#include "graphics/fades.h"
#include "shell/display_mode.h"
#include "shell/error_box.h"
#include "shell/texts.h"
#include "sound/playback.h"
#include "text/free_text.h"
#include "text/message.h"

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

void trace(Program& p, const char* line) {
  std::fputs(line, p.pf.out);
  std::fflush(p.pf.out);
}

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

ArgumentReader arguments(Program& p, const Statement& s) {
  return ArgumentReader(p, s.text, s.q + 1 < s.end ? s.q + 1 : s.end, s.end);
}

// Text up to `stop` from `from`, or to the end of the arguments.
std::string text_until(const Statement& s, std::size_t from, char stop) {
  std::string r;
  for (std::size_t i = from; i < s.end && s.text[i] != stop; ++i) r += s.text[i];
  return r;
}

// Jumps to the label; a label that is not in the table is reported and ends
// the run.
int jump(Program& p, std::string label) {
  if (label.size() > static_cast<std::size_t>(kWordBytes))
    label.resize(kWordBytes);
  if (script_search_label(p, label.c_str())) return 0;
  error_box_with(p, kCaption, texts::kNotFoundFmt, label.c_str());
  return 1;
}

bool file_name_fits(Program& p, const std::string& name) {
  if (name.size() <= static_cast<std::size_t>(kFileNameBytes)) return true;
  error_box_with(p, kCaption, texts::kTooLongFmt, name.c_str());
  return false;
}

void repaint_main_window(Program& p) {
  p.pf.window.InvalidateRect(p.shell.main_window, nullptr, pf::kFalse);
  p.pf.window.UpdateWindow(p.shell.main_window);
}

int do_if(Program& p, const Statement& s) {
  const std::string a_ref = target(s, s.q + 1);
  const char op = at(s, s.q + 4);
  std::int32_t x = 0;
  if (at(s, s.q + 5) == '@') {
    x = variable_get(p, target(s, s.q + 5).c_str());
  } else if (s.q + 5 < s.length) {
    std::size_t stop = s.q + 5;
    while (stop < s.length && s.text[stop] != ',' && s.text[stop] != '\n')
      ++stop;
    std::size_t n = stop - (s.q + 5);
    if (n > static_cast<std::size_t>(kNumberBytes)) n = kNumberBytes;
    x = read_decimal(s.text + s.q + 5, n);
  }
  const std::int32_t a = variable_get(p, a_ref.c_str());
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
  return jump(p, label);
}

// The operand of an assignment at `i`: a variable reference or a decimal
// number up to `stop`.
std::int32_t operand(Program& p, const Statement& s, std::size_t i,
                     std::size_t stop) {
  if (at(s, i) == '@') return variable_get(p, target(s, i).c_str());
  if (i >= stop) return 0;
  std::size_t n = stop - i;
  if (n > static_cast<std::size_t>(kNumberBytes)) n = kNumberBytes;
  return read_decimal(s.text + i, n);
}

void do_assign(Program& p, const Statement& s) {
  const std::string target_ref = target(s, 0);
  std::size_t line_end = 0;
  while (line_end < s.length && s.text[line_end] != '\n') ++line_end;
  auto is_op = [](char c) { return c == '+' || c == '-' || c == '*' || c == '/'; };
  bool any_op = false;
  for (std::size_t i = 0; i < line_end; ++i) any_op = any_op || is_op(s.text[i]);
  if (!any_op) {
    variable_set(p, target_ref.c_str(), operand(p, s, 4, line_end));
    return;
  }
  std::int32_t left = 0;
  std::size_t op_at = 4;
  if (at(s, 4) == '@') {
    left = variable_get(p, target(s, 4).c_str());
    op_at = 7;
  } else {
    while (op_at < line_end && !is_op(s.text[op_at])) ++op_at;
    left = operand(p, s, 4, op_at);
  }
  const char op = op_at < line_end ? s.text[op_at] : '\0';
  if (!is_op(op)) return;
  const std::int32_t right = operand(p, s, op_at + 1, line_end);
  const auto l = static_cast<std::uint32_t>(left);
  const auto r = static_cast<std::uint32_t>(right);
  std::int32_t value = 0;
  switch (op) {
    case '+': value = static_cast<std::int32_t>(l + r); break;
    case '-': value = static_cast<std::int32_t>(l - r); break;
    case '*': value = static_cast<std::int32_t>(l * r); break;
    default:
      if (right == 0) {
        error_box(p, kCaption, texts::kDivideByZero);
        return;
      }
      if (left == std::numeric_limits<std::int32_t>::min() && right == -1)
        value = left;  // the one quotient that does not fit wraps to itself
      else
        value = left / right;
  }
  variable_set(p, target_ref.c_str(), value);
}

void do_check(Program& p, const Statement& s) {
  char text[100];
  std::snprintf(text, sizeof text, "check=%ld(script_pointer=%ld)\n",
                static_cast<long>(variable_get(p, target(s, s.q + 1).c_str())),
                static_cast<long>(p.script.pointer - 1));
  error_box(p, kCaption, text);
}

void do_gload(Program& p, const Statement& s) {
  ArgumentReader args = arguments(p, s);
  std::string file;
  args.text_to_comma(file, kFileNameBytes);
  const std::int32_t x = args.number();
  const std::int32_t y = args.number();
  const std::int32_t mode = args.number();
  if (!file_name_fits(p, file)) return;
  switch (mode) {
    case 0:
      graphics::opendib(p, file.c_str(), x, y, 0);
      graphics::palette_show(p);
      break;
    case 1:
      graphics::opendib(p, file.c_str(), x, y, 0);
      break;
    case 2:
      graphics::opendib(p, file.c_str(), x, y, 1);
      graphics::palette_show(p);
      break;
    default:
      break;
  }
  repaint_main_window(p);
}

void do_character(Program& p, const Statement& s) {
  ArgumentReader args = arguments(p, s);
  std::string file;
  args.text_to_comma(file, kFileNameBytes);
  const std::int32_t x = args.number();
  const std::int32_t y = args.number();
  const std::int32_t opaque = args.number();
  const std::int32_t fifth = args.number();
  if (!file_name_fits(p, file)) return;
  graphics::character(p, file.c_str(), x, y, opaque, fifth);
  repaint_main_window(p);
}

void do_message(Program& p, const Statement& s) {
  // Without a closing quote the text runs to the end, line feed included.
  const std::size_t from = s.q + 1 < s.length ? s.q + 1 : s.length;
  std::size_t to = from;
  while (to < s.length && s.text[to] != '"') ++to;
  std::string text(s.text + from, to - from);
  if (text.size() >= static_cast<std::size_t>(text::kMessageBytes))
    text.resize(text::kMessageBytes - 1);
  text::message_in(p, text.c_str());
}

void do_play_wav(Program& p, const Statement& s) {
  ArgumentReader args = arguments(p, s);
  std::string file;
  args.text_to_comma(file, kFileNameBytes);
  const std::int32_t loop = args.number();
  if (file_name_fits(p, file)) sound::play_wav(p, file.c_str(), loop);
}

void do_play_midi(Program& p, const Statement& s) {
  const std::string path = text_until(s, s.q + 1, '"');
  if (file_name_fits(p, path)) sound::play_midi(p, path.c_str());
}

void do_text_write(Program& p, const Statement& s) {
  ArgumentReader args = arguments(p, s);
  std::string text;
  args.text_to_comma(text, std::string::npos);
  const std::int32_t x = args.number();
  const std::int32_t y = args.number();
  const std::int32_t size = args.number();
  const std::int32_t colour = args.number();
  const std::int32_t opaque = args.number();
  text::text_write(p, text.c_str(), x, y, size, colour, opaque);
}

}  // namespace

int execute(Program& p, CommandId id, const Statement& s) {
  Script& sc = p.script;
  switch (id) {
    case kGoto:
      return jump(p, text_until(s, s.q + 1, '"'));
    case kGosub:
      sc.return_slot = sc.pointer;
      return jump(p, text_until(s, s.q + 1, '"'));
    case kReturn:
      sc.pointer = sc.return_slot;
      return 0;
    case kIf:
      return do_if(p, s);
    case kWait: {
      const std::int32_t delay_ms = arguments(p, s).number();
      // A negative count would be an endless wait: it does not wait at all.
      if (delay_ms >= 0) p.pf.clock.Sleep(static_cast<pf::Dword>(delay_ms));
      return 0;
    }
    case kAssign:
      do_assign(p, s);
      return 0;
    case kCheck:
      do_check(p, s);
      return 0;
    case kBoxFill:
    case kBox: {
      ArgumentReader args = arguments(p, s);
      const std::int32_t x1 = args.number(), y1 = args.number(),
                         x2 = args.number(), y2 = args.number(),
                         colour = args.number();
      if (id == kBoxFill) graphics::boxfill(p, x1, y1, x2, y2, colour);
      else graphics::box(p, x1, y1, x2, y2, colour);
      return 0;
    }
    case kRand:
      variable_set(p, target(s, s.q + 1).c_str(), next_random(sc));
      return 0;
    case kSave:
      save(p);
      return 0;
    case kLoad:
      load(p);
      return 0;
    case kEnd:
      return 1;
    case kGetMouseState:
      variable_set(p, target(s, s.q + 1).c_str(),
                   p.shell.mouse.left + 2 * p.shell.mouse.right);
      shell::note_mouse_read(p.shell);
      return 0;
    case kGetMousePosition:
      variable_set(p, target(s, s.q + 1).c_str(), p.shell.mouse.x);
      variable_set(p, target(s, s.q + 5).c_str(), p.shell.mouse.y);
      shell::note_mouse_read(p.shell);
      return 0;
    case kScreenBig:
      trace(p, "[screen_big]\n");
      return 0;
    case kScreenSmall:
      trace(p, "[screen_small]\n");
      return 0;
    case kScreenBlackOut:
      graphics::palette_black_out(p, arguments(p, s).number());
      return 0;
    case kScreenBlackIn:
      graphics::palette_black_in(p, arguments(p, s).number());
      return 0;
    case kGload:
      do_gload(p, s);
      return 0;
    case kCharacter:
      do_character(p, s);
      return 0;
    case kTextMode:
      trace(p, "[textmode]\n");
      return 0;
    case kMessage:
      do_message(p, s);
      return 0;
    case kMessageOut:
      text::message_out(p);
      return 0;
    case kScreenBigSmall:
      shell::screen_big_small(p);
      return 0;
    case kPlayWav:
      do_play_wav(p, s);
      return 0;
    case kStopWav:
      sound::stop_wav(p);
      return 0;
    case kPlayMidi:
      do_play_midi(p, s);
      return 0;
    case kStopMidi:
      sound::stop_midi(p);
      return 0;
    case kScreenCopy: {
      ArgumentReader args = arguments(p, s);
      const std::int32_t x1 = args.number(), y1 = args.number(),
                         x2 = args.number(), y2 = args.number(),
                         dx = args.number(), dy = args.number();
      graphics::screen_copy(p, x1, y1, x2, y2, dx, dy);
      return 0;
    }
    case kNumberWrite: {
      ArgumentReader args = arguments(p, s);
      const std::int32_t value = args.number(), x = args.number(),
                         y = args.number(), size = args.number(),
                         colour = args.number(), opaque = args.number();
      text::number_write(p, value, x, y, size, colour, opaque);
      return 0;
    }
    case kTextWrite:
      do_text_write(p, s);
      return 0;
    case kForceWrite:
      text::force_write(p);
      return 0;
    case kDummy:
      trace(p, "dummy or not defined\n");
      return 0;
  }
  return 0;
}

}  // namespace mowa::engine
