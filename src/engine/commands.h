// The command table and the handlers that read each command's arguments.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/command_sink.h"
#include "engine/script.h"

namespace mowa::engine {

enum class CommandId : std::uint32_t {
  kGoto = 0, kIf = 1, kGosub = 2, kReturn = 3, kWait = 4, kAssign = 5,
  kCheck = 6, kBoxFill = 10, kBox = 11, kRand = 12, kSave = 13, kLoad = 14,
  kEnd = 19, kGetMouseState = 20, kGetMousePosition = 21, kScreenBig = 22,
  kScreenSmall = 23, kScreenBlackOut = 24, kScreenBlackIn = 25, kGload = 26,
  kCharacter = 27, kTextMode = 28, kMessage = 29, kMessageOut = 30,
  kScreenBigSmall = 31, kPlayWav = 32, kStopWav = 33, kPlayMidi = 34,
  kStopMidi = 35, kScreenCopy = 36, kNumberWrite = 37, kTextWrite = 38,
  kForceWrite = 39, kDummy = 99,
};

struct CommandEntry {
  char name[36];
  CommandId id;
};

inline constexpr int kCommandCount = 34;
extern const CommandEntry kCommandTable[kCommandCount];

// The entry for a command word; an empty word is `goto`, an unknown one
// `dummy`.
const CommandEntry& find_command(const char* word);

// One statement after blank removal. `q` is the position of its first double
// quote (the length of its command word); `end` is where its arguments stop:
// the next double quote, else its line feed, else its end.
struct Statement {
  const char* text;
  std::size_t length;
  std::size_t q;
  std::size_t end;
};

// Carries out the command. Returns 1 when the run must end.
int execute(Script& sc, CommandSink& sink, CommandId id, const Statement& s);

}  // namespace mowa::engine
