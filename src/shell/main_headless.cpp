// mowa-headless: runs the program exactly as the real one, in folder DIR, on
// the headless backend. Standard output carries only the program's own trace
// lines; everything the runner has to say goes to standard error.
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "debug/session.h"
#include "platform/headless/headless_platform.h"
#include "shell/program.h"
#include "shell/utf8_trace.h"

namespace {

constexpr char kUsage[] =
    "usage: mowa-headless [--input FILE] [--events FILE] [--max-steps N]\n"
    "                     [--fail SERVICE[@N]]... [--screenshot FILE]\n"
    "                     [--frames DIR] [--time SECONDS] [--trace] [--dap]\n"
    "                     [DIR]\n"
    "Runs the scenario DIR/data/mowa.snr (DIR defaults to the current folder)\n"
    "without a window. Exit status: the program's exit code; 3 when\n"
    "--max-steps stopped the run; 2 for a usage error. --trace writes one\n"
    "line a statement to standard error: LINE: statement, the jump taken\n"
    "(-> LINE) and every variable changed (@05 3 -> 4). --dap serves the\n"
    "Debug Adapter Protocol on standard input and output.\n";

struct Options {
  std::string input, events, screenshot, frames, dir = ".";
  std::uint64_t max_steps = 10'000'000;
  std::vector<std::string> faults;
  std::int64_t start_time = static_cast<std::int64_t>(std::time(nullptr));
  bool trace = false;
  bool dap = false;
};

// Scripted input is keyed to the idle steps completed.
class StepCounter final : public mowa::shell::RunHooks {
 public:
  explicit StepCounter(mowa::pf::EventLog& log) : log_(log) {}
  bool after_turn(const mowa::Program& p, mowa::Program::Turn turn) override {
    log_.steps = p.steps();
    if (turn != mowa::Program::Turn::kStepLimit) return true;
    std::fflush(stdout);
    std::fprintf(stderr, "mowa-headless: stopped after %llu idle steps\n",
                 static_cast<unsigned long long>(p.steps()));
    return true;
  }

 private:
  mowa::pf::EventLog& log_;
};

int usage_error(const std::string& why) {
  std::fprintf(stderr, "mowa-headless: %s\n%s", why.c_str(), kUsage);
  return 2;
}

bool parse_number(const char* text, std::int64_t& value) {
  char* end = nullptr;
  errno = 0;
  value = std::strtoll(text, &end, 10);
  return errno == 0 && end != text && *end == '\0';
}

std::string absolute(const std::string& path) {
  return path.empty() ? path : std::filesystem::absolute(path).string();
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  bool have_dir = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](const char* name) -> const char* {
      if (i + 1 >= argc) return nullptr;
      (void)name;
      return argv[++i];
    };
    const char* v = nullptr;
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--input" || a == "--events" || a == "--screenshot" ||
               a == "--frames" || a == "--fail" || a == "--max-steps" ||
               a == "--time") {
      if (!(v = value(a.c_str()))) return usage_error(a + " needs a value");
      std::int64_t n = 0;
      if (a == "--input")
        o.input = v;
      else if (a == "--events")
        o.events = v;
      else if (a == "--screenshot")
        o.screenshot = v;
      else if (a == "--frames")
        o.frames = v;
      else if (a == "--fail")
        o.faults.push_back(v);
      else if (a == "--max-steps") {
        if (!parse_number(v, n) || n < 0)
          return usage_error("--max-steps takes a whole number");
        o.max_steps = static_cast<std::uint64_t>(n);
      } else {
        if (!parse_number(v, n)) return usage_error("--time takes seconds");
        o.start_time = n;
      }
    } else if (a == "--trace") {
      o.trace = true;
    } else if (a == "--dap") {
      o.dap = true;
    } else if (!a.empty() && a[0] == '-') {
      return usage_error("unknown option " + a);
    } else if (!have_dir) {
      o.dir = a;
      have_dir = true;
    } else {
      return usage_error("only one folder can be run");
    }
  }

  std::vector<mowa::pf::InputEvent> input;
  if (!o.input.empty()) {
    std::ifstream in(o.input, std::ios::binary);
    if (!in) return usage_error("cannot read " + o.input);
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    if (!mowa::pf::parse_input_script(text.str(), input, error))
      return usage_error(o.input + ": " + error);
  }
  std::FILE* events = nullptr;
  if (!o.events.empty() && !(events = std::fopen(o.events.c_str(), "w")))
    return usage_error("cannot write " + o.events);
  o.screenshot = absolute(o.screenshot);
  o.frames = absolute(o.frames);
  if (!o.frames.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(o.frames, ec);
  }
  std::error_code ec;
  std::filesystem::current_path(o.dir, ec);
  if (ec) return usage_error("cannot enter " + o.dir + ": " + ec.message());

  int code = 0;
  {
    mowa::pf::HeadlessPlatform hp(stdout);
    for (const auto& rule : o.faults)
      if (!hp.faults.add(rule)) return usage_error("bad --fail " + rule);
    hp.log.open(events);
    hp.window.set_input(std::move(input));
    hp.clock.set_start_time(o.start_time);
    hp.presenter.set_frames_dir(o.frames);
    {
      mowa::Program program(hp.platform());
      mowa::shell::Utf8Trace trace(stderr);
      if (o.trace) program.script.trace = &trace;
      program.set_step_limit(o.max_steps);
      StepCounter hooks(hp.log);
      if (o.dap) {
        code = mowa::debug::serve(program, &hooks);
      } else {
        const bool stopped =
            mowa::shell::run(program, mowa::pf::SW_SHOWNORMAL, &hooks) ==
            mowa::shell::RunEnd::kStepLimit;
        code = stopped ? 3 : program.exit_code();
      }
    }
    hp.window.present_all();
    // What the run left held, and how often it called each service that can
    // be made to fail: what a sweep of injected failures is made from.
    hp.log_held();
    for (const auto& [service, calls] : hp.faults.all_calls())
      hp.log.event("calls")
          .str("service", service)
          .num("count", static_cast<std::int64_t>(calls));
    hp.log.event("exit").num("code", code);
    if (!o.screenshot.empty()) {
      const mowa::pf::Surface* shown =
          hp.window.surface(hp.window.main_window());
      if (!mowa::pf::Presenter::write_shown(o.screenshot, shown))
        std::fprintf(stderr, "mowa-headless: cannot write %s\n",
                     o.screenshot.c_str());
    }
  }
  std::fflush(stdout);
  if (events) std::fclose(events);
  return code;
}
