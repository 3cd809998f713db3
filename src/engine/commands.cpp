#include "engine/commands.h"

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "engine/argument_forms.h"
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

// The value of a number argument where the statement's reading found it.
std::int32_t number_value(Program& p, const Statement& s, const NumberSpan& n) {
  if (!n.present) return 0;
  if (n.reference) {
    char reference[4] = {'@', '\0', '\0', '\0'};
    for (std::size_t k = 1; k < 3 && k < n.text.size(); ++k)
      reference[k] = s.text[n.text.begin + k];
    return variable_get(p, reference);
  }
  return read_decimal(s.text + n.text.begin,
                      std::min<std::size_t>(n.text.size(), kNumberBytes));
}

// The arguments of a command with a form, in the order they are written.
struct Arguments {
  std::string text;  // the file, text or label
  std::string targets[2];
  std::int32_t numbers[kMaxArguments] = {};
};

Arguments read_arguments(Program& p, const Statement& s, CommandId id) {
  Arguments a;
  const ArgumentForm* form = argument_form(id);
  if (form == nullptr) return a;
  const ScannedArguments scanned = scan_arguments(s, *form);
  int numbers = 0, targets = 0;
  for (int i = 0; i < scanned.count; ++i) {
    const ArgumentSpan& arg = scanned.args[i];
    if (arg.kind == ArgumentKind::number)
      a.numbers[numbers++] =
          number_value(p, s, {arg.text, arg.reference, arg.present});
    else if (arg.kind == ArgumentKind::target)
      a.targets[targets++] = target(s, arg.text.begin);
    else
      a.text.assign(s.text + arg.text.begin, arg.text.size());
  }
  return a;
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
  const IfParts parts = split_if(s);
  const std::string a_ref = target(s, parts.variable_at);
  const char op = at(s, parts.operator_at);
  const std::int32_t x = number_value(p, s, parts.x);
  const std::int32_t a = variable_get(p, a_ref.c_str());
  const bool holds = (op == '=' && a == x) || (op == '<' && a < x) ||
                     (op == '>' && a > x);
  std::string label;
  if (holds && parts.have_yes)
    label.assign(s.text + parts.yes.begin, parts.yes.size());
  else if (!holds && parts.have_no)
    label.assign(s.text + parts.no.begin, parts.no.size());
  return jump(p, label);
}

void do_assign(Program& p, const Statement& s) {
  const std::string target_ref = target(s, 0);
  const AssignParts parts = split_assign(s);
  if (!parts.any_operator) {
    variable_set(p, target_ref.c_str(), number_value(p, s, parts.left));
    return;
  }
  const std::int32_t left = number_value(p, s, parts.left);
  const char op = parts.op;
  if (!is_assign_operator(op)) return;
  const std::int32_t right = number_value(p, s, parts.right);
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
                static_cast<long>(variable_get(
                    p, read_arguments(p, s, CommandId::kCheck).targets[0].c_str())),
                static_cast<long>(p.script.pointer - 1));
  error_box(p, kCaption, text);
}

void do_gload(Program& p, const Statement& s) {
  const Arguments a = read_arguments(p, s, kGload);
  const std::string& file = a.text;
  const std::int32_t x = a.numbers[0], y = a.numbers[1], mode = a.numbers[2];
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
  const Arguments a = read_arguments(p, s, kCharacter);
  const std::string& file = a.text;
  const std::int32_t x = a.numbers[0], y = a.numbers[1], opaque = a.numbers[2],
                     fifth = a.numbers[3];
  if (!file_name_fits(p, file)) return;
  graphics::character(p, file.c_str(), x, y, opaque, fifth);
  repaint_main_window(p);
}

void do_message(Program& p, const Statement& s) {
  // Without a closing quote the text runs to the end, line feed included.
  std::string text = read_arguments(p, s, kMessage).text;
  if (text.size() >= static_cast<std::size_t>(text::kMessageBytes))
    text.resize(text::kMessageBytes - 1);
  text::message_in(p, text.c_str());
}

void do_play_wav(Program& p, const Statement& s) {
  const Arguments a = read_arguments(p, s, kPlayWav);
  if (file_name_fits(p, a.text))
    sound::play_wav(p, a.text.c_str(), a.numbers[0]);
}

void do_play_midi(Program& p, const Statement& s) {
  const std::string path = read_arguments(p, s, kPlayMidi).text;
  if (file_name_fits(p, path)) sound::play_midi(p, path.c_str());
}

void do_text_write(Program& p, const Statement& s) {
  const Arguments a = read_arguments(p, s, kTextWrite);
  const std::int32_t* n = a.numbers;
  text::text_write(p, a.text.c_str(), n[0], n[1], n[2], n[3], n[4]);
}

}  // namespace

int execute(Program& p, CommandId id, const Statement& s) {
  Script& sc = p.script;
  switch (id) {
    case kGoto:
      return jump(p, read_arguments(p, s, kGoto).text);
    case kGosub:
      sc.return_slot = sc.pointer;
      return jump(p, read_arguments(p, s, kGosub).text);
    case kReturn:
      sc.pointer = sc.return_slot;
      return 0;
    case kIf:
      return do_if(p, s);
    case kWait: {
      const std::int32_t delay_ms = read_arguments(p, s, kWait).numbers[0];
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
      const Arguments a = read_arguments(p, s, id);
      const std::int32_t* n = a.numbers;
      if (id == kBoxFill) graphics::boxfill(p, n[0], n[1], n[2], n[3], n[4]);
      else graphics::box(p, n[0], n[1], n[2], n[3], n[4]);
      return 0;
    }
    case kRand:
      variable_set(p, read_arguments(p, s, kRand).targets[0].c_str(),
                   next_random(sc));
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
      variable_set(p, read_arguments(p, s, kGetMouseState).targets[0].c_str(),
                   p.shell.mouse.left + 2 * p.shell.mouse.right);
      shell::note_mouse_read(p.shell);
      return 0;
    case kGetMousePosition:
    {
      const Arguments a = read_arguments(p, s, kGetMousePosition);
      variable_set(p, a.targets[0].c_str(), p.shell.mouse.x);
      variable_set(p, a.targets[1].c_str(), p.shell.mouse.y);
      shell::note_mouse_read(p.shell);
      return 0;
    }
    case kScreenBig:
      trace(p, "[screen_big]\n");
      return 0;
    case kScreenSmall:
      trace(p, "[screen_small]\n");
      return 0;
    case kScreenBlackOut:
      graphics::palette_black_out(p, read_arguments(p, s, id).numbers[0]);
      return 0;
    case kScreenBlackIn:
      graphics::palette_black_in(p, read_arguments(p, s, id).numbers[0]);
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
      const Arguments a = read_arguments(p, s, id);
      const std::int32_t* n = a.numbers;
      graphics::screen_copy(p, n[0], n[1], n[2], n[3], n[4], n[5]);
      return 0;
    }
    case kNumberWrite: {
      const Arguments a = read_arguments(p, s, id);
      const std::int32_t* n = a.numbers;
      text::number_write(p, n[0], n[1], n[2], n[3], n[4], n[5]);
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
