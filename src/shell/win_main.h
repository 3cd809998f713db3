// Start-up, the main loop and teardown.
#pragma once

#include "shell/program.h"

namespace mowa::shell {

// Seeds the random generator, allocates the two images, builds the label
// table and creates the font set. False when a font cannot be created.
bool program_init(Program& p);
// Releases whatever start-up made; safe when any of it is missing.
void program_end(Program& p);
// Start-up, the main loop and teardown themselves are Program::start, step
// and finish, which each runner drives in its own loop.

}  // namespace mowa::shell
