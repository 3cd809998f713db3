// The command table: one row a command, holding its word, its number, the
// arguments it takes and the routine that carries it out. The interpreter
// reads the arguments a row names and hands them to its routine already
// read.
#pragma once

#include <cstdint>
#include <string>

#include "engine/argument_forms.h"
#include "engine/script.h"
#include "engine/statement_syntax.h"

namespace mowa::engine {

enum class CommandId : std::uint32_t {
  kGoto = 0,
  kIf = 1,
  kGosub = 2,
  kReturn = 3,
  kWait = 4,
  kAssign = 5,
  kCheck = 6,
  kBoxFill = 10,
  kBox = 11,
  kRand = 12,
  kSave = 13,
  kLoad = 14,
  kEnd = 19,
  kGetMouseState = 20,
  kGetMousePosition = 21,
  kScreenBig = 22,
  kScreenSmall = 23,
  kScreenBlackOut = 24,
  kScreenBlackIn = 25,
  kGload = 26,
  kCharacter = 27,
  kTextMode = 28,
  kMessage = 29,
  kMessageOut = 30,
  kScreenBigSmall = 31,
  kPlayWav = 32,
  kStopWav = 33,
  kPlayMidi = 34,
  kStopMidi = 35,
  kScreenCopy = 36,
  kNumberWrite = 37,
  kTextWrite = 38,
  kForceWrite = 39,
  kDummy = 99,
};
inline constexpr std::uint32_t kLastCommandId = 99;

// A command's arguments in the order its form gives them: numbers already
// evaluated, file names known to fit their 80 bytes, the message text cut to
// what its buffer holds.
struct Arguments {
  std::string text;        // the file, text or label
  std::string targets[2];  // the three bytes of each target variable
  std::int32_t numbers[kMaxArguments] = {};
  const char* target(int i) const { return targets[i].c_str(); }
};

// Where the rows without a routine of the engine's own go: the shell carries
// them out with its graphics, text and sound parts and the mouse it keeps.
// The engine cannot name those parts, so one call hands on the row's number
// and its arguments, and the shell's own table finds the routine.
class CommandSink {
 public:
  virtual ~CommandSink() = default;
  virtual void carry_out(CommandId id, const Arguments& a) = 0;
};

// Carries out one statement; returns 1 when the run must end.
using CommandRoutine = int (*)(Script& sc, const Statement& s,
                               const Arguments& a);

struct CommandEntry {
  char name[36];
  CommandId id;
  ArgumentForm form;
  CommandRoutine run;  // null: the command sink's to carry out
  // Reads the mouse, compares, jumps or computes variables and nothing else
  // (see Script::effects).
  bool quiet = false;
};

inline constexpr int kCommandCount = 34;
extern const CommandEntry kCommandTable[kCommandCount];

// The entry for a command word; an empty word is `goto`, an unknown one
// `dummy`.
const CommandEntry& find_command(const char* word);

// Reads the arguments the row names and carries the command out. Returns 1
// when the run must end.
int execute(Script& sc, CommandSink& sink, const CommandEntry& row,
            const Statement& s);

}  // namespace mowa::engine
