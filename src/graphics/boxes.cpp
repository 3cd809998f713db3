#include "graphics/boxes.h"

namespace mowa::graphics {

void boxfill(Program&, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
             std::int32_t) {}
void box(Program&, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
         std::int32_t) {}

}  // namespace mowa::graphics
