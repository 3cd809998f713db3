#include "text/font_set.h"

namespace mowa::text {

bool font_set_create(Program&) { return true; }
void font_set_release(Program&) {}

}  // namespace mowa::text
