#include "shell/program.h"

namespace mowa {

Program::Program(pf::Platform& platform)
    : pf(platform),
      report(platform.box, platform.out, shell.main_window),
      script(platform.files, platform.versions, platform.replacement,
             platform.clock, report),
      gfx(platform.gdi, platform.memory, platform.files, platform.window,
          platform.clock, report, shell.main_window),
      text(platform.gdi, platform.window, platform.clock, report, gfx,
           shell.main_window),
      sound(platform.sound, platform.files, report, shell.main_window) {}

void Program::carry_out(engine::CommandId id, const engine::Arguments& a) {
  shell::carry_out(*this, id, a);
}

}  // namespace mowa
