// Asking for the paint now: the whole main window, no erase.
#pragma once

#include "shell/program.h"

namespace mowa::graphics {

// InvalidateRect, then UpdateWindow, each reported under `caption` when it
// fails. The paint has run when this returns.
void request_repaint(Program& p, const char* caption);

}  // namespace mowa::graphics
