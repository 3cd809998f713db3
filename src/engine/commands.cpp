#include "engine/commands.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "engine/interpreter.h"
#include "engine/label_table.h"
#include "engine/variables.h"
#include "report/error_box.h"
#include "report/texts.h"

namespace mowa::engine {
namespace {

using enum CommandId;
using K = ArgumentKind;
constexpr K N = K::number;

constexpr char kCaption[] = "script_read";

template <class... Kinds>
constexpr ArgumentForm takes(Kinds... kinds) {
  return {static_cast<std::uint8_t>(sizeof...(kinds)), {kinds...}};
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

// Reads the arguments of `form`. False when a file name is too long: that is
// reported and the command does nothing.
bool read_arguments(Script& sc, const Statement& s, const ArgumentForm& form,
                    Arguments& a) {
  const ScannedArguments scanned = scan_arguments(s, form);
  int numbers = 0, targets = 0;
  for (int i = 0; i < scanned.count; ++i) {
    const ArgumentSpan& arg = scanned.args[i];
    switch (arg.kind) {
      case K::number:
        a.numbers[numbers++] =
            number_value(sc, s, {arg.text, arg.reference, arg.present});
        break;
      case K::target:
        a.targets[targets++] = target(s, arg.text.begin);
        break;
      default:
        a.text.assign(s.text + arg.text.begin, arg.text.size());
    }
  }
  for (int i = 0; i < form.count; ++i) {
    if (form.kinds[i] == K::whole_text &&
        a.text.size() >= static_cast<std::size_t>(kMessageBytes))
      a.text.resize(kMessageBytes - 1);
    if ((form.kinds[i] == K::file || form.kinds[i] == K::path) &&
        a.text.size() > static_cast<std::size_t>(kFileNameBytes)) {
      error_box_with(sc.report, kCaption, texts::kTooLongFmt, a.text.c_str());
      return false;
    }
  }
  return true;
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

int go_to(Script& sc, const Statement&, const Arguments& a) {
  return jump(sc, a.text);
}

int go_sub(Script& sc, const Statement&, const Arguments& a) {
  sc.return_slot = sc.pointer;
  return jump(sc, a.text);
}

int go_back(Script& sc, const Statement&, const Arguments&) {
  sc.pointer = sc.return_slot;
  return 0;
}

int if_then(Script& sc, const Statement& s, const Arguments&) {
  const IfParts parts = split_if(s);
  const std::string a_ref = target(s, parts.variable_at);
  const char op = at(s, parts.operator_at);
  const std::int32_t x = number_value(sc, s, parts.x);
  const std::int32_t a = variable_get(sc, a_ref.c_str());
  const bool holds =
      (op == '=' && a == x) || (op == '<' && a < x) || (op == '>' && a > x);
  std::string label;
  if (holds && parts.have_yes)
    label.assign(s.text + parts.yes.begin, parts.yes.size());
  else if (!holds && parts.have_no)
    label.assign(s.text + parts.no.begin, parts.no.size());
  return jump(sc, label);
}

int wait(Script& sc, const Statement&, const Arguments& a) {
  const std::int32_t delay_ms = a.numbers[0];
  // A negative count would be an endless wait: it does not wait at all.
  if (delay_ms >= 0) sc.clock.Sleep(static_cast<pf::Dword>(delay_ms));
  return 0;
}

int assign(Script& sc, const Statement& s, const Arguments&) {
  const std::string target_ref = target(s, 0);
  const AssignParts parts = split_assign(s);
  if (!parts.any_operator) {
    variable_set(sc, target_ref.c_str(), number_value(sc, s, parts.left));
    return 0;
  }
  const std::int32_t left = number_value(sc, s, parts.left);
  const char op = parts.op;
  if (!is_assign_operator(op)) return 0;
  const std::int32_t right = number_value(sc, s, parts.right);
  const auto l = static_cast<std::uint32_t>(left);
  const auto r = static_cast<std::uint32_t>(right);
  std::int32_t value = 0;
  switch (op) {
    case '+':
      value = static_cast<std::int32_t>(l + r);
      break;
    case '-':
      value = static_cast<std::int32_t>(l - r);
      break;
    case '*':
      value = static_cast<std::int32_t>(l * r);
      break;
    default:
      if (right == 0) {
        error_box(sc.report, kCaption, texts::kDivideByZero);
        return 0;
      }
      if (left == std::numeric_limits<std::int32_t>::min() && right == -1)
        value = left;  // the one quotient that does not fit wraps to itself
      else
        value = left / right;
  }
  variable_set(sc, target_ref.c_str(), value);
  return 0;
}

int check(Script& sc, const Statement&, const Arguments& a) {
  char text[100];
  std::snprintf(text, sizeof text, "check=%ld(script_pointer=%ld)\n",
                static_cast<long>(variable_get(sc, a.target(0))),
                static_cast<long>(sc.pointer - 1));
  error_box(sc.report, kCaption, text);
  return 0;
}

int rand(Script& sc, const Statement&, const Arguments& a) {
  variable_set(sc, a.target(0), next_random(sc));
  return 0;
}

int save_variables(Script& sc, const Statement&, const Arguments&) {
  save(sc);
  return 0;
}

int load_variables(Script& sc, const Statement&, const Arguments&) {
  load(sc);
  return 0;
}

int end(Script&, const Statement&, const Arguments&) { return 1; }

// The commands that only say they ran.
template <const char* kLine>
int trace_only(Script& sc, const Statement&, const Arguments&) {
  trace(sc.report, kLine);
  return 0;
}
constexpr char kScreenBigLine[] = "[screen_big]\n";
constexpr char kScreenSmallLine[] = "[screen_small]\n";
constexpr char kTextModeLine[] = "[textmode]\n";
constexpr char kDummyLine[] = "dummy or not defined\n";

constexpr bool kQuiet = true;
constexpr CommandRoutine kSink = nullptr;

}  // namespace

constexpr CommandEntry kCommandTable[kCommandCount] = {
    {"goto", kGoto, takes(K::label), go_to, kQuiet},
    {"if", kIf, {}, if_then, kQuiet},
    {"gosub", kGosub, takes(K::label), go_sub, kQuiet},
    {"return", kReturn, {}, go_back, kQuiet},
    {"wait", kWait, takes(N), wait},
    {"@", kAssign, {}, assign, kQuiet},
    {"check", kCheck, takes(K::target), check},
    {"boxfill", kBoxFill, takes(N, N, N, N, N), kSink},
    {"box", kBox, takes(N, N, N, N, N), kSink},
    {"rand", kRand, takes(K::target), rand},
    {"save", kSave, {}, save_variables},
    {"load", kLoad, {}, load_variables},
    {"end", kEnd, {}, end},
    {"get_mouse_state", kGetMouseState, takes(K::target), kSink, kQuiet},
    {"get_mouse_position", kGetMousePosition, takes(K::target, K::target),
     kSink, kQuiet},
    {"screen_big", kScreenBig, {}, trace_only<kScreenBigLine>},
    {"screen_small", kScreenSmall, {}, trace_only<kScreenSmallLine>},
    {"screen_black_out", kScreenBlackOut, takes(N), kSink},
    {"screen_black_in", kScreenBlackIn, takes(N), kSink},
    {"gload", kGload, takes(K::file, N, N, N), kSink},
    {"character", kCharacter, takes(K::file, N, N, N, N), kSink},
    {"textmode", kTextMode, {}, trace_only<kTextModeLine>},
    {"message", kMessage, takes(K::whole_text), kSink},
    {"message_out", kMessageOut, {}, kSink},
    {"screen_big_small", kScreenBigSmall, {}, kSink},
    {"play_wav", kPlayWav, takes(K::file, N), kSink},
    {"stop_wav", kStopWav, {}, kSink},
    {"play_midi", kPlayMidi, takes(K::path), kSink},
    {"stop_midi", kStopMidi, {}, kSink},
    {"screen_copy", kScreenCopy, takes(N, N, N, N, N, N), kSink},
    {"number_write", kNumberWrite, takes(N, N, N, N, N, N), kSink},
    {"text_write", kTextWrite, takes(K::text, N, N, N, N, N), kSink},
    {"force_write", kForceWrite, {}, kSink},
    {"dummy", kDummy, {}, trace_only<kDummyLine>},
};
static_assert(
    [] {
      for (const CommandEntry& row : kCommandTable)
        if (row.name[0] == '\0') return false;
      return kCommandTable[kCommandCount - 1].id == kDummy;
    }(),
    "kCommandCount counts every row, and `dummy` comes last");

const CommandEntry& find_command(const char* word) {
  if (word[0] == '\0') return kCommandTable[0];
  int i = 0;
  while (std::strcmp(kCommandTable[i].name, "dummy") != 0 &&
         std::strcmp(kCommandTable[i].name, word) != 0)
    ++i;
  return kCommandTable[i];
}

const ArgumentForm* argument_form(CommandId id) {
  for (const CommandEntry& row : kCommandTable)
    if (row.id == id) return row.form.count > 0 ? &row.form : nullptr;
  return nullptr;
}

int execute(Script& sc, CommandSink& sink, const CommandEntry& row,
            const Statement& s) {
  if (!row.quiet) ++sc.effects;
  Arguments a;
  if (row.form.count > 0 && !read_arguments(sc, s, row.form, a)) return 0;
  if (row.run != nullptr) return row.run(sc, s, a);
  sink.carry_out(row.id, a);
  return 0;
}

}  // namespace mowa::engine
