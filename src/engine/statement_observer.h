// Someone who watches the run statement by statement (a debugger): told of
// every statement before and after it runs. Left null, it costs one test.
#pragma once

#include <cstdint>

namespace mowa::engine {

struct Script;
enum class CommandId : std::uint32_t;

class StatementObserver {
 public:
  virtual ~StatementObserver() = default;
  // The statement on `line` (counted as the script pointer counts) is about
  // to run; the script pointer still names it. False: the observer moved the
  // script pointer itself, and the statement is left out.
  virtual bool before_statement(Script& sc, std::int32_t line) = 0;
  // It ran as command `id`; `result` is what the step returns.
  virtual void after_statement(Script& sc, std::int32_t line, CommandId id,
                               int result) = 0;
};

}  // namespace mowa::engine
