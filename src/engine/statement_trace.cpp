#include "engine/statement_trace.h"

#include <algorithm>
#include <cstdio>

namespace mowa::engine {
namespace {

// "→" in code page 932.
constexpr char kArrow[] = "\x81\xa8";

bool is_jump(CommandId id) {
  return id == CommandId::kGoto || id == CommandId::kGosub ||
         id == CommandId::kReturn || id == CommandId::kIf;
}

}  // namespace

StatementTrace::StatementTrace(std::int32_t line, const char* text_as_read,
                               const std::int32_t (&variables)[kVariableCount])
    : line_(line), text_(text_as_read) {
  while (!text_.empty() && (text_.back() == '\n' || text_.back() == '\r'))
    text_.pop_back();
  std::copy(std::begin(variables), std::end(variables), before_);
}

std::string StatementTrace::finish(
    CommandId id, int result, std::int32_t pointer,
    const std::int32_t (&variables)[kVariableCount]) const {
  std::string line = std::to_string(line_) + ": " + text_;
  if (is_jump(id)) {
    // A jump that ends the run found no label.
    line +=
        std::string(" ") + kArrow + " " +
        (result == 1 ? std::string("no such label") : std::to_string(pointer));
  }
  for (int i = 0; i < kVariableCount; ++i) {
    if (before_[i] == variables[i]) continue;
    char change[64];
    std::snprintf(change, sizeof change, "  @%02d %ld %s %ld", i,
                  static_cast<long>(before_[i]), kArrow,
                  static_cast<long>(variables[i]));
    line += change;
  }
  return line + "\n";
}

}  // namespace mowa::engine
