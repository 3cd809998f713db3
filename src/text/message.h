// The message window: text that grows into view and shrinks away.
#pragma once

#include "text/text.h"

namespace mowa::text {

void message_write(Text& t, pf::Hdc hdc, const char* text, int height);
void message_in(Text& t, const char* text);
void message_out(Text& t);

}  // namespace mowa::text
