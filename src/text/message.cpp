#include "text/message.h"

namespace mowa::text {

void message_write(Program&, pf::Hdc, const char*, int) {}
void message_in(Program&, const char*) {}
void message_out(Program&) {}

}  // namespace mowa::text
