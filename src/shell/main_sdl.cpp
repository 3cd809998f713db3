// mowa: plays the scenario .\data\mowa.snr of the current folder in a window
// of its own. No configuration; the one option, --trace, writes one line a
// statement to standard error. Exit status: the program's exit code; 1 when
// no display could be opened, 2 for a usage error.
#include <cstdio>
#include <cstring>

#include "platform/sdl/sdl_platform.h"
#include "shell/program.h"
#include "shell/utf8_trace.h"

int main(int argc, char** argv) {
  bool trace = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--trace") == 0) {
      trace = true;
    } else {
      std::fprintf(stderr,
                   "mowa: unknown argument %s\nusage: mowa [--trace]\n"
                   "Plays data/mowa.snr of the current folder; --trace writes one "
                   "line a statement to standard error.\n",
                   argv[i]);
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
    if (program.start(mowa::pf::SW_SHOWNORMAL)) {
      for (;;) {
        const mowa::Program::Turn turn = program.step();
        if (turn == mowa::Program::Turn::kQuit) break;
        if (turn == mowa::Program::Turn::kMouseUnchanged)
          sp.window.wait_for_input();
      }
    }
    program.finish();
    code = program.exit_code();
  }
  std::fflush(stdout);
  return code;
}
