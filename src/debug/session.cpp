#include "debug/session.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "base/cp932.h"
#include "debug/expressions.h"
#include "engine/commands.h"
#include "report/texts.h"

namespace mowa::debug {

using nlohmann::json;
using namespace std::chrono_literals;

Session::Session(Program& program, Channel& channel)
    : program_(program), channel_(channel) {}

int Session::run(shell::RunHooks* runner) {
  while (!(launched_ && configured_)) {
    take_one(100ms);
    if (input_closed_ || disconnected_) return 0;
  }
  started_ = true;
  runner_ = runner;
  program_.report.set_observer(this);
  program_.script.observer = this;
  if (launch_trace_) program_.script.trace = this;
  program_.set_step_limit(std::numeric_limits<std::uint64_t>::max());
  if (stop_on_entry_) pending_stop_ = "entry";
  shell::run(program_, pf::SW_SHOWNORMAL, this);
  const int code = quit_ ? quit_code_ : program_.exit_code();
  program_.report.set_observer(nullptr);
  program_.script.observer = nullptr;
  started_ = false;
  event("exited", {{"exitCode", code}});
  event("terminated", json::object());
  // The editor says goodbye with `disconnect`; a client that never does is
  // not waited for long.
  for (int waited_ms = 0;
       !disconnected_ && !input_closed_ && waited_ms < 10'000; waited_ms += 100)
    take_one(100ms);
  return code;
}

void Session::idle_wait() { take_one(10ms); }

bool Session::after_turn(const Program& p, Program::Turn turn) {
  if (runner_ != nullptr) runner_->after_turn(p, turn);
  if (!quit_) drain();
  return !quit_;
}

// ---- the watching ----------------------------------------------------------

bool Session::before_statement(engine::Script& sc, std::int32_t line) {
  current_line_ = line;
  if (channel_.ready()) drain();
  if (terminating_) return false;
  if (pending_jump_ != 0) {
    sc.pointer = pending_jump_;
    pending_jump_ = 0;
    return false;
  }
  if (!pending_stop_.empty()) {
    stop(pending_stop_, pending_description_);
  } else if (mode_ == Mode::kStepOne) {
    stop("step");
  } else if (!breakpoints_.empty() && breakpoint_stops(line)) {
    stop("breakpoint");
  }
  if (terminating_) return false;
  if (pending_jump_ != 0) {  // goto or restart while stopped here
    sc.pointer = pending_jump_;
    pending_jump_ = 0;
    return false;
  }
  if (!watched_.empty())
    std::copy(std::begin(sc.variables), std::end(sc.variables), before_);
  return true;
}

void Session::after_statement(engine::Script& sc, std::int32_t line,
                              engine::CommandId id, int) {
  if (id == engine::CommandId::kGosub) {
    in_gosub_ = true;
    caller_line_ = line;
    if (mode_ == Mode::kStepOverGosub) mode_ = Mode::kUntilReturn;
  } else if (id == engine::CommandId::kReturn) {
    in_gosub_ = false;
    if (mode_ == Mode::kUntilReturn) mode_ = Mode::kStepOne;
  }
  if (mode_ == Mode::kStepOverGosub) mode_ = Mode::kStepOne;
  for (const int v : watched_) {
    if (sc.variables[v] == before_[v]) continue;
    char name[16];  // room for any int, though indices stop at 99
    std::snprintf(name, sizeof name, "@%02d", v);
    pending_stop_ = "data breakpoint";
    pending_description_ = std::string(name) + " " +
                           std::to_string(before_[v]) + " -> " +
                           std::to_string(sc.variables[v]);
    break;
  }
}

bool Session::breakpoint_stops(std::int32_t line) {
  bool stops = false;
  for (Breakpoint& b : breakpoints_) {
    if (b.pointer_line != line) continue;
    if (!b.condition.empty()) {
      const Value holds = compare(b.condition, program_.script.variables);
      if (!holds.value) {
        output("console", "breakpoint condition '" + b.condition +
                              "': " + holds.error + "\n");
        stops = true;  // a condition that cannot be read stops, to be seen
        continue;
      }
      if (*holds.value == 0) continue;
    }
    ++b.hits;
    if (!b.hit_condition.empty()) {
      const std::string h = b.hit_condition;
      const bool modulo = h[0] == '%';
      const bool at_least = h.rfind(">=", 0) == 0;
      const std::string digits = h.substr(modulo        ? 1
                                          : at_least    ? 2
                                          : h[0] == '=' ? 1
                                                        : 0);
      const int n = std::atoi(digits.c_str());
      const bool ok = n <= 0     ? true
                      : modulo   ? b.hits % n == 0
                      : at_least ? b.hits >= n
                                 : b.hits == n;
      if (!ok) continue;
    }
    if (!b.log_message.empty()) {
      output("console", interpolate(base::cp932_to_utf8(b.log_message),
                                    program_.script.variables) +
                            "\n");
      continue;
    }
    stops = true;
  }
  return stops;
}

void Session::box_coming(const char* caption, const char* text) {
  std::string utf8 = base::cp932_to_utf8(text);
  while (!utf8.empty() && utf8.back() == '\n') utf8.pop_back();
  output("console", "[" + base::cp932_to_utf8(caption) + "] " + utf8 + "\n");
  if (!started_ || terminating_ ||
      std::strcmp(caption, texts::kFarewellCaption) == 0)
    return;
  const bool is_check = std::strcmp(caption, "script_read") == 0 &&
                        std::strncmp(text, "check=", 6) == 0;
  if (exception_filters_.count(is_check ? "check" : "error"))
    stop("exception", utf8, utf8);
}

bool Session::trace_line(const char* text) {
  output("stdout", base::cp932_to_utf8(text));
  return true;
}

void Session::line(const std::string& cp932) {
  output("console", base::cp932_to_utf8(cp932));
}

// ---- the loop --------------------------------------------------------------

void Session::take_one(std::chrono::milliseconds wait) {
  if (input_closed_) return;
  std::string text;
  switch (channel_.take(text, wait)) {
    case Channel::Got::kNothing:
      return;
    case Channel::Got::kMessage:
      handle(text);
      return;
    case Channel::Got::kComplaint:
      output("console", "mowa: bad input: " + text + "\n");
      return;
    case Channel::Got::kClosed:
      input_closed_ = true;
      end_program();
      return;
  }
}

void Session::drain() {
  while (channel_.ready() && !input_closed_) take_one(0ms);
}

void Session::stop(std::string reason, std::string description,
                   std::string text) {
  mode_ = Mode::kRun;
  pending_stop_.clear();
  pending_description_.clear();
  json body = {
      {"reason", reason}, {"threadId", 1}, {"allThreadsStopped", true}};
  if (!description.empty()) body["description"] = description;
  if (!text.empty()) body["text"] = text;
  event("stopped", body);
  stopped_ = true;
  resume_ = false;
  // While stopped the window keeps painting and hears Escape; headless, the
  // virtual clock stands still, since nothing sleeps through it.
  while (!resume_ && !terminating_) {
    take_one(15ms);
    pump_window();
  }
  stopped_ = false;
}

void Session::pump_window() {
  pf::WindowService& w = program_.pf.window;
  pf::Msg msg{};
  while (!quit_ && w.PeekMessageA(&msg, nullptr, 0, 0, pf::PM_REMOVE)) {
    if (msg.message == pf::WM_QUIT) {
      quit_ = true;
      quit_code_ = static_cast<int>(msg.wParam);
      terminating_ = true;
      return;
    }
    w.TranslateMessage(&msg);
    w.DispatchMessageA(&msg);
  }
}

// Ends the program as Escape would: the farewell, then the quit. Nothing of
// the scenario runs any more, so save.dat is never left half written.
void Session::end_program() {
  terminating_ = true;
  if (!started_ || destroy_posted_) return;
  destroy_posted_ = true;
  const pf::Hwnd main = program_.shell.main_window;
  if (main) program_.pf.window.PostMessageA(main, pf::WM_DESTROY, 0, 0);
}

// ---- messages --------------------------------------------------------------

void Session::handle(const std::string& body) {
  const json message = json::parse(body, nullptr, false);
  if (message.is_discarded() || !message.is_object()) {
    output("console", "mowa: bad input: a message that is not a JSON object\n");
    return;
  }
  const auto type = message.find("type");
  const auto command = message.find("command");
  const auto seq = message.find("seq");
  if (type == message.end() || *type != "request" || command == message.end() ||
      !command->is_string() || seq == message.end() ||
      !seq->is_number_integer()) {
    output("console", "mowa: bad input: not a request with seq and command\n");
    return;
  }
  json reply = {{"type", "response"},
                {"request_seq", *seq},
                {"command", *command},
                {"success", true}};
  const auto args = message.find("arguments");
  const json arguments =
      args != message.end() && args->is_object() ? *args : json::object();
  try {
    json result = dispatch(command->get<std::string>(), arguments);
    if (!result.is_null()) reply["body"] = std::move(result);
  } catch (const RequestError& e) {
    reply["success"] = false;
    reply["message"] = e.what();
  } catch (const json::exception& e) {
    reply["success"] = false;
    reply["message"] = std::string("bad arguments: ") + e.what();
  }
  const bool launched = *command == "launch" && reply["success"] == true;
  channel_.send(std::move(reply));
  // The editor sends its breakpoints on hearing this, then
  // configurationDone.
  if (launched) event("initialized", json::object());
}

void Session::event(const std::string& name, json body) {
  channel_.send(
      {{"type", "event"}, {"event", name}, {"body", std::move(body)}});
}

void Session::output(const std::string& category, const std::string& utf8) {
  event("output", {{"category", category}, {"output", utf8}});
}

int serve(Program& program, shell::RunHooks* runner) {
  Channel channel(pf::open_request_pipe(), stdout);
  Session session(program, channel);
  return session.run(runner);
}

}  // namespace mowa::debug
