// The message window: text that grows into view and shrinks away.
#pragma once

#include "shell/program.h"

namespace mowa::text {

void message_write(Program& p, pf::Hdc hdc, const char* text, int height);
void message_in(Program& p, const char* text);
void message_out(Program& p);

}  // namespace mowa::text
