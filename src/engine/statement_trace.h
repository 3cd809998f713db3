// The trace of a run, one line a statement, for a scenario writer who wants
// to see why the scenario went where it went.
#pragma once

#include <cstdint>
#include <string>

#include "engine/commands.h"
#include "engine/script.h"

namespace mowa::engine {

// One statement's line, in code page 932: "LINE: statement", then " → LINE"
// for the jump it took and "  @NN old → new" for every variable it changed.
// LINE counts lines as the script pointer does.
class StatementTrace {
 public:
  // Before the statement runs: its line, the line as read, the variables.
  StatementTrace(std::int32_t line, const char* text_as_read,
                 const std::int32_t (&variables)[kVariableCount]);
  // After it ran: `result` is what the step returns.
  std::string finish(CommandId id, int result, std::int32_t pointer,
                     const std::int32_t (&variables)[kVariableCount]) const;

 private:
  std::int32_t line_;
  std::string text_;
  std::int32_t before_[kVariableCount];
};

}  // namespace mowa::engine
