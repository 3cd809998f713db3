// mowa.exe: plays the scenario .\data\mowa.snr of the current folder in a
// window of its own. No arguments, no configuration; the exit code is the
// program's.
#include <cstdio>

#include "shell/program.h"
// Last: the system headers make macros of the program's names.
#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/,
                   LPSTR /*command_line*/, int show_command) {
  int code = 0;
  {
    mowa::pf::Win32Platform wp(instance, stdout);
    mowa::Program program(wp.platform());
    mowa::shell::WaitForInput hooks(wp.window);
    mowa::shell::run(program, show_command, &hooks);
    code = program.exit_code();
  }
  std::fflush(stdout);
  return code;
}
