// mowa.exe: plays the scenario .\data\mowa.snr of the current folder in a
// window of its own. One option: --dap serves the Debug Adapter Protocol on
// the standard input and output an editor hands over. The exit code is the
// program's.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "debug/session.h"
#include "shell/program.h"
// Last: the system headers make macros of the program's names.
#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/,
                   LPSTR /*command_line*/, int show_command) {
  bool dap = false;
  for (int i = 1; i < __argc; ++i) {
    if (std::strcmp(__argv[i], "--dap") == 0) dap = true;
  }
  int code = 0;
  {
    mowa::pf::Win32Platform wp(instance, stdout);
    mowa::Program program(wp.platform());
    if (dap) {
      // The protocol's framing counts bytes: no CR may be added to them.
      _setmode(_fileno(stdout), _O_BINARY);
      code = mowa::debug::serve(program);
    } else {
      mowa::shell::WaitForInput hooks(wp.window);
      mowa::shell::run(program, show_command, &hooks);
      code = program.exit_code();
    }
  }
  std::fflush(stdout);
  return code;
}
