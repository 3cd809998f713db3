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

// The value of a number argument where the statement's reading found it.
std::int32_t number_value(Script& sc, const Statement& s, const NumberSpan& n) {
  if (!n.present) return 0;
  if (n.reference) {
    char reference[4] = {'@', '\0', '\0', '\0'};
    for (std::size_t k = 1; k < 3 && k < n.text.size(); ++k)
      reference[k] = s.text[n.text.begin + k];
    return variable_get(sc, reference);
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

Arguments read_arguments(Script& sc, const Statement& s, CommandId id) {
  Arguments a;
  const ArgumentForm* form = argument_form(id);
  if (form == nullptr) return a;
  const ScannedArguments scanned = scan_arguments(s, *form);
  int numbers = 0, targets = 0;
  for (int i = 0; i < scanned.count; ++i) {
    const ArgumentSpan& arg = scanned.args[i];
    if (arg.kind == ArgumentKind::number)
      a.numbers[numbers++] =
          number_value(sc, s, {arg.text, arg.reference, arg.present});
    else if (arg.kind == ArgumentKind::target)
      a.targets[targets++] = target(s, arg.text.begin);
    else
      a.text.assign(s.text + arg.text.begin, arg.text.size());
  }
  return a;
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
  const IfParts parts = split_if(s);
  const std::string a_ref = target(s, parts.variable_at);
  const char op = at(s, parts.operator_at);
  const std::int32_t x = number_value(sc, s, parts.x);
  const std::int32_t a = variable_get(sc, a_ref.c_str());
  const bool holds = (op == '=' && a == x) || (op == '<' && a < x) ||
                     (op == '>' && a > x);
  std::string label;
  if (holds && parts.have_yes)
    label.assign(s.text + parts.yes.begin, parts.yes.size());
  else if (!holds && parts.have_no)
    label.assign(s.text + parts.no.begin, parts.no.size());
  return jump(sc, label);
}

void do_assign(Script& sc, const Statement& s) {
  const std::string target_ref = target(s, 0);
  const AssignParts parts = split_assign(s);
  if (!parts.any_operator) {
    variable_set(sc, target_ref.c_str(), number_value(sc, s, parts.left));
    return;
  }
  const std::int32_t left = number_value(sc, s, parts.left);
  const char op = parts.op;
  if (!is_assign_operator(op)) return;
  const std::int32_t right = number_value(sc, s, parts.right);
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
                static_cast<long>(variable_get(
                    sc, read_arguments(sc, s, CommandId::kCheck).targets[0].c_str())),
                static_cast<long>(sc.pointer - 1));
  error_box(sc.report, kCaption, text);
}

void do_gload(Script& sc, CommandSink& sink, const Statement& s) {
  const Arguments a = read_arguments(sc, s, kGload);
  const std::int32_t* n = a.numbers;
  if (file_name_fits(sc, a.text)) sink.gload(a.text.c_str(), n[0], n[1], n[2]);
}

void do_character(Script& sc, CommandSink& sink, const Statement& s) {
  const Arguments a = read_arguments(sc, s, kCharacter);
  const std::int32_t* n = a.numbers;
  if (file_name_fits(sc, a.text))
    sink.character(a.text.c_str(), n[0], n[1], n[2], n[3]);
}

void do_message(Script& sc, CommandSink& sink, const Statement& s) {
  // Without a closing quote the text runs to the end, line feed included.
  std::string text = read_arguments(sc, s, kMessage).text;
  if (text.size() >= static_cast<std::size_t>(kMessageBytes))
    text.resize(kMessageBytes - 1);
  sink.message(text.c_str());
}

void do_play_wav(Script& sc, CommandSink& sink, const Statement& s) {
  const Arguments a = read_arguments(sc, s, kPlayWav);
  if (file_name_fits(sc, a.text)) sink.play_wav(a.text.c_str(), a.numbers[0]);
}

void do_play_midi(Script& sc, CommandSink& sink, const Statement& s) {
  const std::string path = read_arguments(sc, s, kPlayMidi).text;
  if (file_name_fits(sc, path)) sink.play_midi(path.c_str());
}

void do_text_write(Script& sc, CommandSink& sink, const Statement& s) {
  const Arguments a = read_arguments(sc, s, kTextWrite);
  const std::int32_t* n = a.numbers;
  sink.text_write(a.text.c_str(), n[0], n[1], n[2], n[3], n[4]);
}

bool only_reads_compares_or_jumps(CommandId id) {
  switch (id) {
    case kGoto:
    case kGosub:
    case kReturn:
    case kIf:
    case kAssign:
    case kGetMouseState:
    case kGetMousePosition:
      return true;
    default:
      return false;
  }
}

}  // namespace

int execute(Script& sc, CommandSink& sink, CommandId id, const Statement& s) {
  if (!only_reads_compares_or_jumps(id)) ++sc.effects;
  switch (id) {
    case kGoto:
      return jump(sc, read_arguments(sc, s, kGoto).text);
    case kGosub:
      sc.return_slot = sc.pointer;
      return jump(sc, read_arguments(sc, s, kGosub).text);
    case kReturn:
      sc.pointer = sc.return_slot;
      return 0;
    case kIf:
      return do_if(sc, s);
    case kWait: {
      const std::int32_t delay_ms = read_arguments(sc, s, kWait).numbers[0];
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
      const Arguments a = read_arguments(sc, s, id);
      const std::int32_t* n = a.numbers;
      if (id == kBoxFill) sink.boxfill(n[0], n[1], n[2], n[3], n[4]);
      else sink.box(n[0], n[1], n[2], n[3], n[4]);
      return 0;
    }
    case kRand:
      variable_set(sc, read_arguments(sc, s, kRand).targets[0].c_str(),
                   next_random(sc));
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
      variable_set(sc, read_arguments(sc, s, kGetMouseState).targets[0].c_str(),
                   sink.mouse_state());
      return 0;
    case kGetMousePosition: {
      std::int32_t x = 0, y = 0;
      sink.mouse_position(x, y);
      const Arguments a = read_arguments(sc, s, kGetMousePosition);
      variable_set(sc, a.targets[0].c_str(), x);
      variable_set(sc, a.targets[1].c_str(), y);
      return 0;
    }
    case kScreenBig:
      trace(sc.report, "[screen_big]\n");
      return 0;
    case kScreenSmall:
      trace(sc.report, "[screen_small]\n");
      return 0;
    case kScreenBlackOut:
      sink.screen_black_out(read_arguments(sc, s, id).numbers[0]);
      return 0;
    case kScreenBlackIn:
      sink.screen_black_in(read_arguments(sc, s, id).numbers[0]);
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
      do_message(sc, sink, s);
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
      const Arguments a = read_arguments(sc, s, id);
      const std::int32_t* n = a.numbers;
      sink.screen_copy(n[0], n[1], n[2], n[3], n[4], n[5]);
      return 0;
    }
    case kNumberWrite: {
      const Arguments a = read_arguments(sc, s, id);
      const std::int32_t* n = a.numbers;
      sink.number_write(n[0], n[1], n[2], n[3], n[4], n[5]);
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
