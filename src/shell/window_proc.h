// The main window's procedure: paints, Escape, the mouse, the MIDI loop and
// the farewell.
#pragma once

#include "platform/types.h"

namespace mowa::shell {

// `context` is the Program.
pf::Lresult window_proc(void* context, pf::Hwnd hwnd, pf::Uint message,
                        pf::Wparam wparam, pf::Lparam lparam);

}  // namespace mowa::shell
