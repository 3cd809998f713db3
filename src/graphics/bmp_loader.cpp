#include "graphics/bmp_loader.h"

namespace mowa::graphics {

void opendib(Program&, const char*, std::int32_t, std::int32_t, int) {}
void palette_black(Program&) {}
void palette_show(Program&) {}

}  // namespace mowa::graphics
