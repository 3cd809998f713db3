// Start-up, the main loop and teardown.
#pragma once

#include "shell/program.h"

namespace mowa::shell {

// Seeds the random generator, allocates the two images, builds the label
// table and creates the font set. False when a font cannot be created.
bool program_init(Program& p);
// Releases whatever start-up made; safe when any of it is missing.
void program_end(Program& p);
// The whole program from the display switch to the exit code, stopping
// early (without the farewell) at the program's step limit.
int win_main(Program& p, int show_command);

}  // namespace mowa::shell
