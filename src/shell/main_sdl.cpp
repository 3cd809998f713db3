// mowa: plays the scenario data/mowa.snr of a folder in a window of its own.
// --trace writes one line a statement to standard error. Exit status: the
// program's exit code; 1 when no display could be opened; 2 for an argument
// it does not take or a folder it cannot enter.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "debug/session.h"
#include "platform/sdl/sdl_platform.h"
#include "shell/program.h"
#include "shell/utf8_trace.h"

#ifndef MOWA_VERSION
#define MOWA_VERSION "unknown"
#endif

namespace {

constexpr char kUsageLine[] =
    "usage: mowa [--trace] [FOLDER | --version | --help]\n";

constexpr char kHelp[] =
    "usage: mowa [--trace] [FOLDER | --version | --help]\n"
    "Plays the presentation whose scenario is FOLDER/data/mowa.snr in a\n"
    "window of its own; FOLDER is the current folder when left out. Every\n"
    "file the scenario names is found from FOLDER. Escape leaves.\n"
    "\n"
    "  --trace    write one line a statement to standard error\n"
    "  --dap      serve the Debug Adapter Protocol on standard input and\n"
    "             output (for an editor's debugger)\n"
    "  --version  print the version and exit\n"
    "  --help     print this help and exit\n"
    "\n"
    "Exit status: 0 after the farewell; 1 when no display can be opened;\n"
    "2 for an argument mowa does not take or a folder it cannot enter.\n";

int refuse(const std::string& why) {
  std::fprintf(stderr, "mowa: %s; %s", why.c_str(), kUsageLine);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder;
  bool have_folder = false;
  bool options_ended = false;
  bool trace = false;
  bool dap = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (!options_ended && a == "--version") {
      std::fputs("mowa " MOWA_VERSION "\n", stdout);
      return 0;
    }
    if (!options_ended && a == "--help") {
      std::fputs(kHelp, stdout);
      return 0;
    }
    if (!options_ended && a == "--trace") {
      trace = true;
    } else if (!options_ended && a == "--dap") {
      dap = true;
    } else if (!options_ended && a == "--") {
      options_ended = true;
    } else if (!options_ended && a.size() > 1 && a[0] == '-') {
      return refuse("unknown option '" + a + "'");
    } else if (have_folder) {
      return refuse("one folder only");
    } else {
      folder = a;
      have_folder = true;
    }
  }
  if (have_folder) {
    // Every name the program uses is relative to the current folder.
    std::error_code ec;
    std::filesystem::current_path(folder, ec);
    if (ec) {
      std::fprintf(stderr, "mowa: cannot enter the folder %s: %s\n",
                   folder.c_str(), ec.message().c_str());
      return 2;
    }
  }

  const mowa::pf::SdlSession session;
  if (!session.ok()) {
    std::fprintf(stderr, "mowa: cannot open the display: %s\n",
                 session.error().c_str());
    return 1;
  }
  int code = 0;
  {
    mowa::pf::SdlPlatform sp(session, stdout);
    mowa::Program program(sp.platform());
    mowa::shell::Utf8Trace trace_output(stderr);
    if (trace) program.script.trace = &trace_output;
    if (dap) {
      code = mowa::debug::serve(program);
    } else {
      mowa::shell::WaitForInput hooks(sp.window);
      mowa::shell::run(program, mowa::pf::SW_SHOWNORMAL, &hooks);
      code = program.exit_code();
    }
  }
  std::fflush(stdout);
  return code;
}
