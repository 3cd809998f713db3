// mowa: plays the scenario .\data\mowa.snr of the current folder in a window
// of its own. No arguments, no configuration. Exit status: the program's
// exit code; 1 when no display could be opened.
#include <cstdio>

#include "platform/sdl/sdl_platform.h"
#include "shell/program.h"

int main() {
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
