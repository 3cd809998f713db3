// The requests of the Debug Adapter Protocol that the session answers.
#include <filesystem>
#include <system_error>

#include "base/cp932.h"
#include "debug/expressions.h"
#include "debug/session.h"
#include "engine/label_table.h"

namespace mowa::debug {

using nlohmann::json;

namespace {

constexpr int kVariablesScope = 1;
constexpr int kStateScope = 2;

std::string variable_name(int index) {
  char name[16];  // room for any int, though indices stop at 99
  std::snprintf(name, sizeof name, "@%02d", index);
  return name;
}

}  // namespace

json Session::dispatch(const std::string& command, const json& args) {
  if (command == "initialize") return initialize();
  if (command == "launch") return launch(args);
  if (command == "setBreakpoints") return set_breakpoints(args);
  if (command == "setExceptionBreakpoints")
    return set_exception_breakpoints(args);
  if (command == "dataBreakpointInfo") return data_breakpoint_info(args);
  if (command == "setDataBreakpoints") return set_data_breakpoints(args);
  if (command == "configurationDone") {
    configured_ = true;
    return nullptr;
  }
  if (command == "threads")
    return {{"threads", json::array({{{"id", 1}, {"name", "scenario"}}})}};
  if (command == "disconnect" || command == "terminate") {
    if (command == "disconnect") disconnected_ = true;
    end_program();
    return nullptr;
  }
  if (command == "stackTrace") return stack_trace();
  if (command == "scopes") return scopes();
  if (command == "variables") return variables(args);
  if (command == "setVariable") return set_variable(args);
  if (command == "evaluate") return evaluate(args);
  if (command == "continue") return resume(Mode::kRun);
  if (command == "next") return resume(Mode::kStepOverGosub);
  if (command == "stepIn") return resume(Mode::kStepOne);
  if (command == "stepOut")
    return resume(in_gosub_ ? Mode::kUntilReturn : Mode::kStepOne);
  if (command == "pause") {
    require_running();
    if (!stopped_) pending_stop_ = "pause";
    return nullptr;
  }
  if (command == "gotoTargets") return goto_targets(args);
  if (command == "goto") return go_to(args);
  if (command == "restart") return restart();
  throw RequestError("mowa does not know the request '" + command + "'");
}

json Session::initialize() {
  return {
      {"supportsConfigurationDoneRequest", true},
      {"supportsConditionalBreakpoints", true},
      {"supportsHitConditionalBreakpoints", true},
      {"supportsLogPoints", true},
      {"supportsEvaluateForHovers", true},
      {"supportsSetVariable", true},
      {"supportsGotoTargetsRequest", true},
      {"supportsRestartRequest", true},
      {"supportsTerminateRequest", true},
      {"supportsDataBreakpoints", true},
      {"exceptionBreakpointFilters",
       json::array({{{"filter", "error"},
                     {"label", "Error boxes"},
                     {"description", "Stop before an error box is shown"},
                     {"default", false}},
                    {{"filter", "check"},
                     {"label", "check boxes"},
                     {"description", "Stop before the box of check"},
                     {"default", false}}})},
  };
}

json Session::launch(const json& args) {
  if (launched_) throw RequestError("the scenario is launched already");
  if (args.contains("folder")) {
    const std::string folder = args.at("folder").get<std::string>();
    std::error_code ec;
    std::filesystem::current_path(folder, ec);
    if (ec)
      throw RequestError("cannot enter the folder " + folder + ": " +
                         ec.message());
  }
  stop_on_entry_ = args.value("stopOnEntry", false);
  launch_trace_ = args.value("trace", false);
  scenario_path_ =
      (std::filesystem::current_path() / "data" / "mowa.snr").string();
  if (!lines_.read(program_.pf.files))
    output("console", "mowa: " + scenario_path_ + " cannot be read\n");
  launched_ = true;
  return nullptr;
}

json Session::source() const {
  return {{"name", "mowa.snr"}, {"path", scenario_path_}};
}

json Session::breakpoint_json(const Breakpoint& b) const {
  json j = {{"id", b.id}, {"verified", b.pointer_line != 0}};
  if (b.pointer_line != 0) {
    j["line"] = lines_.physical(b.pointer_line);
    j["source"] = source();
  } else {
    j["message"] = "no statement runs at or after this line";
  }
  return j;
}

void Session::map_breakpoints() {
  for (Breakpoint& b : breakpoints_)
    b.pointer_line = lines_.statement_at_or_after(b.requested_line);
}

json Session::set_breakpoints(const json& args) {
  if (!launched_) throw RequestError("launch first");
  const std::string path = args.at("source").value("path", "");
  std::error_code ec1, ec2;
  if (std::filesystem::weakly_canonical(path, ec1) !=
      std::filesystem::weakly_canonical(scenario_path_, ec2))
    throw RequestError("breakpoints belong in " + scenario_path_);
  lines_.read(program_.pf.files);
  breakpoints_.clear();
  json out = json::array();
  for (const json& s : args.value("breakpoints", json::array())) {
    Breakpoint b;
    b.id = next_breakpoint_id_++;
    b.requested_line = s.at("line").get<int>();
    // The writer types conditions and log texts in UTF-8; the program keeps
    // code page 932.
    b.condition = s.value("condition", "");
    b.hit_condition = s.value("hitCondition", "");
    b.log_message = base::utf8_to_cp932(s.value("logMessage", ""));
    breakpoints_.push_back(b);
  }
  map_breakpoints();
  for (const Breakpoint& b : breakpoints_) out.push_back(breakpoint_json(b));
  return {{"breakpoints", out}};
}

json Session::set_exception_breakpoints(const json& args) {
  exception_filters_.clear();
  for (const json& f : args.value("filters", json::array())) {
    const std::string name = f.get<std::string>();
    if (name != "error" && name != "check")
      throw RequestError("no exception filter '" + name + "'");
    exception_filters_.insert(name);
  }
  return nullptr;
}

json Session::data_breakpoint_info(const json& args) {
  const auto index = variable_index(args.value("name", ""));
  if (!index)
    return {{"dataId", nullptr},
            {"description", "only @00 to @99 can be watched"}};
  return {{"dataId", variable_name(*index)},
          {"description", variable_name(*index) + " changes"},
          {"accessTypes", json::array({"write"})},
          {"canPersist", true}};
}

json Session::set_data_breakpoints(const json& args) {
  watched_.clear();
  json out = json::array();
  for (const json& d : args.value("breakpoints", json::array())) {
    const auto index = variable_index(d.value("dataId", ""));
    if (index) watched_.insert(*index);
    out.push_back({{"verified", index.has_value()}});
  }
  return {{"breakpoints", out}};
}

void Session::require_running() const {
  if (!started_) throw RequestError("the scenario is not running");
}

void Session::require_stopped() const {
  require_running();
  if (!stopped_) throw RequestError("the scenario is running, not stopped");
}

json Session::stack_trace() {
  require_running();
  json frames = json::array();
  auto frame = [&](int id, std::int32_t line) {
    const std::string label = lines_.label_above(line);
    frames.push_back(
        {{"id", id},
         {"name",
          base::cp932_to_utf8(label.empty() ? "mowa.snr" : "[" + label + "]")},
         {"source", source()},
         {"line", lines_.physical(line)},
         {"column", 1}});
  };
  frame(1, current_line_);
  if (in_gosub_) frame(2, caller_line_);
  return {{"stackFrames", frames}, {"totalFrames", frames.size()}};
}

json Session::scopes() {
  require_running();
  return {{"scopes", json::array({{{"name", "Variables"},
                                   {"variablesReference", kVariablesScope},
                                   {"namedVariables", engine::kVariableCount},
                                   {"expensive", false}},
                                  {{"name", "State"},
                                   {"variablesReference", kStateScope},
                                   {"expensive", false}}})}};
}

json Session::variables(const json& args) {
  require_running();
  const int ref = args.at("variablesReference").get<int>();
  json out = json::array();
  auto add = [&](const std::string& name, const std::string& value) {
    out.push_back(
        {{"name", name}, {"value", value}, {"variablesReference", 0}});
  };
  if (ref == kVariablesScope) {
    const int start = std::max(0, args.value("start", 0));
    const int count = args.value("count", 0);
    const int end = count > 0 ? std::min(engine::kVariableCount, start + count)
                              : engine::kVariableCount;
    for (int i = start; i < end; ++i) {
      add(variable_name(i), std::to_string(program_.script.variables[i]));
      out.back()["evaluateName"] = variable_name(i);
    }
  } else if (ref == kStateScope) {
    const Program& p = program_;
    add("script pointer", std::to_string(p.script.pointer));
    add("return slot", std::to_string(p.script.return_slot));
    add("picture position", std::to_string(p.gfx.picture_x) + ", " +
                                std::to_string(p.gfx.picture_y));
    add("repaint flag", std::to_string(p.gfx.repaint));
    add("mouse", "x " + std::to_string(p.shell.mouse.x) + ", y " +
                     std::to_string(p.shell.mouse.y) + ", left " +
                     std::to_string(p.shell.mouse.left) + ", right " +
                     std::to_string(p.shell.mouse.right));
    add("MIDI file", base::cp932_to_utf8(p.sound.midi_path));
    add("message", base::cp932_to_utf8(p.text.message));
  } else {
    throw RequestError("no variables under reference " + std::to_string(ref));
  }
  return {{"variables", out}};
}

json Session::set_variable(const json& args) {
  require_stopped();
  if (args.at("variablesReference").get<int>() != kVariablesScope)
    throw RequestError("only @00 to @99 can be set");
  const auto index = variable_index(args.at("name").get<std::string>());
  if (!index) throw RequestError("only @00 to @99 can be set");
  const Value v = debug::evaluate(args.at("value").get<std::string>(),
                                  program_.script.variables);
  if (!v.value) throw RequestError(v.error);
  program_.script.variables[*index] = *v.value;
  // A change made while stopped is no change made by a statement.
  before_[*index] = *v.value;
  return {{"value", std::to_string(*v.value)}};
}

json Session::evaluate(const json& args) {
  const std::string e = args.at("expression").get<std::string>();
  const Value v = debug::evaluate(e, program_.script.variables);
  if (!v.value) throw RequestError(v.error);
  return {{"result", std::to_string(*v.value)}, {"variablesReference", 0}};
}

json Session::goto_targets(const json& args) {
  require_running();
  const int line = args.at("line").get<int>();
  const std::int32_t target = lines_.statement_at_or_after(line);
  json out = json::array();
  if (target != 0)
    out.push_back({{"id", target},
                   {"label", "line " + std::to_string(lines_.physical(target))},
                   {"line", lines_.physical(target)}});
  return {{"targets", out}};
}

json Session::go_to(const json& args) {
  require_stopped();
  const std::int32_t target = args.at("targetId").get<std::int32_t>();
  if (target < 1 || target > lines_.count())
    throw RequestError("no statement " + std::to_string(target));
  pending_jump_ = target;
  pending_stop_ = "goto";
  resume_ = true;
  return nullptr;
}

json Session::restart() {
  require_running();
  lines_.read(program_.pf.files);
  engine::script_set_label(program_.script);
  engine::Script& sc = program_.script;
  sc.return_slot = 0;
  std::fill(std::begin(sc.variables), std::end(sc.variables), 0);
  std::fill(std::begin(before_), std::end(before_), 0);
  in_gosub_ = false;
  // 0 and 1 both read line 1; 0 is never a pending jump.
  pending_jump_ = 1;
  mode_ = Mode::kRun;
  pending_stop_ = stop_on_entry_ ? "entry" : "";
  map_breakpoints();
  for (const Breakpoint& b : breakpoints_)
    event("breakpoint",
          {{"reason", "changed"}, {"breakpoint", breakpoint_json(b)}});
  resume_ = true;
  return nullptr;
}

json Session::resume(Mode mode) {
  require_stopped();
  mode_ = mode;
  resume_ = true;
  if (mode == Mode::kRun) return {{"allThreadsContinued", true}};
  return nullptr;
}

}  // namespace mowa::debug
