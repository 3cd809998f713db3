#include "graphics/fades.h"

namespace mowa::graphics {

void palette_black_out(Program&, std::int32_t) {}
void palette_black_in(Program&, std::int32_t) {}

}  // namespace mowa::graphics
