// The browser player: plays the scenario data/mowa.snr of the story the
// page placed in /story, on the page's canvas. --trace writes one line a
// statement to the console. The page learns the exit code from its state.
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/web/web_page.h"
#include "platform/web/web_platform.h"
#include "shell/program.h"
#include "shell/utf8_trace.h"

int main(int argc, char** argv) {
  bool trace = false;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--trace") == 0) trace = true;
  if (chdir("/story") != 0) {
    std::fputs("mowa: the page holds no story\n", stderr);
    mowa::pf::page::set_state("ended", 2);
    return 2;
  }
  mowa::pf::page::set_state("playing", 0);
  int code = 0;
  {
    mowa::pf::WebPlatform wp(stdout);
    mowa::Program program(wp.platform());
    mowa::shell::Utf8Trace trace_output(stdout);
    if (trace) program.script.trace = &trace_output;
    mowa::shell::WaitForInput hooks(wp.window);
    mowa::shell::run(program, mowa::pf::SW_SHOWNORMAL, &hooks);
    code = program.exit_code();
  }
  std::fflush(stdout);
  mowa::pf::page::set_state("ended", code);
  return code;
}
