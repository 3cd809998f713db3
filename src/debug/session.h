// A debugging session of one program over the Debug Adapter Protocol: it
// watches every statement and every report of the program, stops where the
// writer asked, and answers the requests of the editor meanwhile.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "debug/channel.h"
#include "debug/scenario_lines.h"
#include "engine/script.h"
#include "report/error_box.h"
#include "shell/program.h"

namespace mowa::debug {

// A request the session cannot carry out: answered with success false and
// this message, and the session goes on.
class RequestError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Session final : public shell::RunHooks,
                      public engine::StatementObserver,
                      public ReportObserver,
                      public engine::TraceSink {
 public:
  Session(Program& program, Channel& channel);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  // Launch, run, end; returns the program's exit code. `runner` is the
  // runner's own hooks, told of every turn as without the debugger.
  int run(shell::RunHooks* runner);

  // ---- shell::RunHooks ----
  // A scenario that only polls the mouse: wait for input or a request
  // rather than spin.
  void idle_wait() override;
  bool after_turn(const Program& p, Program::Turn turn) override;

  // ---- engine::StatementObserver ----
  bool before_statement(engine::Script& sc, std::int32_t line) override;
  void after_statement(engine::Script& sc, std::int32_t line,
                       engine::CommandId id, int result) override;
  // ---- ReportObserver ----
  void box_coming(const char* caption, const char* text) override;
  bool trace_line(const char* line) override;
  // ---- engine::TraceSink (the --trace lines, when launch asks) ----
  void line(const std::string& cp932) override;

 private:
  struct Breakpoint {
    int id = 0;
    int requested_line = 0;
    std::int32_t pointer_line = 0;  // 0: no statement follows
    std::string condition, hit_condition, log_message;
    int hits = 0;
  };
  enum class Mode { kRun, kStepOne, kStepOverGosub, kUntilReturn };

  // ---- the loop ----
  void take_one(std::chrono::milliseconds wait);
  void drain();
  void stop(std::string reason, std::string description = "",
            std::string text = "");
  void pump_window();
  void end_program();
  bool breakpoint_stops(std::int32_t line);

  // ---- messages ----
  void handle(const std::string& body);
  nlohmann::json dispatch(const std::string& command,
                          const nlohmann::json& args);
  void event(const std::string& name, nlohmann::json body);
  void output(const std::string& category, const std::string& utf8);

  // ---- requests (session_requests.cpp) ----
  nlohmann::json initialize();
  nlohmann::json launch(const nlohmann::json& args);
  nlohmann::json set_breakpoints(const nlohmann::json& args);
  nlohmann::json set_exception_breakpoints(const nlohmann::json& args);
  nlohmann::json data_breakpoint_info(const nlohmann::json& args);
  nlohmann::json set_data_breakpoints(const nlohmann::json& args);
  nlohmann::json stack_trace();
  nlohmann::json scopes();
  nlohmann::json variables(const nlohmann::json& args);
  nlohmann::json set_variable(const nlohmann::json& args);
  nlohmann::json evaluate(const nlohmann::json& args);
  nlohmann::json goto_targets(const nlohmann::json& args);
  nlohmann::json go_to(const nlohmann::json& args);
  nlohmann::json restart();
  nlohmann::json resume(Mode mode);
  nlohmann::json breakpoint_json(const Breakpoint& b) const;
  void map_breakpoints();
  void require_running() const;
  void require_stopped() const;
  nlohmann::json source() const;

  Program& program_;
  Channel& channel_;
  ScenarioLines lines_;
  std::string scenario_path_;  // absolute, after launch

  bool launched_ = false, configured_ = false, started_ = false;
  bool stop_on_entry_ = false, launch_trace_ = false;
  bool stopped_ = false, resume_ = false;
  bool terminating_ = false, destroy_posted_ = false;
  bool input_closed_ = false, disconnected_ = false;
  shell::RunHooks* runner_ = nullptr;  // the runner's own hooks, if any
  bool quit_ = false;
  int quit_code_ = 0;

  Mode mode_ = Mode::kRun;
  std::string pending_stop_, pending_description_;
  std::int32_t pending_jump_ = 0;  // 0: none
  std::int32_t current_line_ = 0;  // the statement running or about to run
  bool in_gosub_ = false;
  std::int32_t caller_line_ = 0;

  std::vector<Breakpoint> breakpoints_;
  int next_breakpoint_id_ = 1;
  std::set<std::string> exception_filters_;
  std::set<int> watched_;  // variable indices of the data breakpoints
  std::int32_t before_[engine::kVariableCount] = {};
};

// `--dap`: the program debugged over the Debug Adapter Protocol on standard
// input and output. Standard output then carries only protocol messages: the
// trace lines and every box travel as `output` events. Waits for `launch`
// and `configurationDone`, runs the program to its end and returns its exit
// code (0 when it never started).
int serve(Program& program, shell::RunHooks* runner = nullptr);

}  // namespace mowa::debug
