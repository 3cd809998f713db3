// The script engine: its state (script pointer, return slot, variable bank,
// label table and random generator) and the services it reads the scenario
// and the save file with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/line_index.h"
#include "platform/platform.h"
#include "report/error_box.h"

namespace mowa::engine {

inline constexpr int kLabelCount = 1000;
inline constexpr int kLabelBytes = 20;  // "[name]\n" and its terminator
inline constexpr int kVariableCount = 100;
inline constexpr int kLineBytes = 256;  // one read of the scenario file
inline constexpr int kStatementBytes = 260;
inline constexpr int kWordBytes = 30;     // command word and label name
inline constexpr int kNumberBytes = 100;  // the text of one number
inline constexpr int kFileNameBytes = 80;
// The stored message text of `message`, its terminator included.
inline constexpr int kMessageBytes = 256;
inline constexpr char kScenarioPath[] = ".\\data\\mowa.snr";
inline constexpr char kSavePath[] = ".\\data\\save.dat";

struct LabelTable {
  std::int32_t lines[kLabelCount] = {};
  char texts[kLabelCount][kLabelBytes] = {};
};

// Where the trace of a run goes: one line a statement in code page 932,
// ended by a line feed (see statement_trace.h).
class TraceSink {
 public:
  virtual ~TraceSink() = default;
  virtual void line(const std::string& cp932) = 0;
};

struct Script;
enum class CommandId : std::uint32_t;

// Someone who watches the run statement by statement (a debugger): told of
// every statement before and after it runs. Left null, it costs one test.
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

struct Script {
  Script(pf::FileService& file_service, pf::FileVersions& file_versions,
         pf::FileReplacement& file_replacement, pf::ClockService& clock_service,
         Reporter& reporter)
      : files(file_service),
        versions(file_versions),
        replacement(file_replacement),
        clock(clock_service),
        report(reporter) {}
  Script(const Script&) = delete;
  Script& operator=(const Script&) = delete;

  pf::FileService& files;
  pf::FileVersions& versions;        // when to index the scenario again
  pf::FileReplacement& replacement;  // the save file put in place whole
  pf::ClockService& clock;           // for `wait`
  Reporter& report;

  std::int32_t pointer = 1;      // the next line to read, from 1
  std::int32_t return_slot = 0;  // one level of gosub
  std::int32_t variables[kVariableCount] = {};
  LabelTable labels;
  std::uint32_t random_state = 0;
  // Statements run so far that did more than read the mouse, compare, jump
  // and compute variables: a loop of the others, coming round with the same
  // variables and mouse, does exactly what it did the last time.
  std::uint64_t effects = 0;
  LineIndex line_index;
  // Off: every step re-reads the file from its start, line by line.
  bool use_line_index = true;
  TraceSink* trace = nullptr;             // none: no trace
  StatementObserver* observer = nullptr;  // none: nobody watches
};

}  // namespace mowa::engine
