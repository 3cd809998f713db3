#include "graphics/composition.h"

namespace mowa::graphics {

void showdib(Program&, pf::Hdc, pf::Hglobal) {}
void character(Program&, const char*, std::int32_t, std::int32_t, std::int32_t,
               std::int32_t) {}
void screen_copy(Program&, std::int32_t, std::int32_t, std::int32_t,
                 std::int32_t, std::int32_t, std::int32_t) {}

}  // namespace mowa::graphics
