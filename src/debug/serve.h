// `--dap`: the program debugged over the Debug Adapter Protocol on standard
// input and output. Standard output then carries only protocol messages: the
// trace lines and every box travel as `output` events.
#pragma once

#include "debug/session.h"
#include "shell/program.h"

namespace mowa::debug {

// Waits for `launch` and `configurationDone`, runs the program to its end
// and returns its exit code (0 when it never started).
int serve(Program& program, shell::RunHooks* runner = nullptr);

}  // namespace mowa::debug
