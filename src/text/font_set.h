// The eight fonts of the message window, made at start-up.
#pragma once

#include "text/text.h"

namespace mowa::text {

// Creates the fonts of heights 4 to 32, smallest first; at the first that
// cannot be created, shows its box and returns false.
bool font_set_create(Text& t);
// Deletes every member that exists.
void font_set_release(Text& t);

}  // namespace mowa::text
