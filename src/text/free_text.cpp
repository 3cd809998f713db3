#include "text/free_text.h"

namespace mowa::text {

void number_write(Program&, std::int32_t, std::int32_t, std::int32_t,
                  std::int32_t, std::int32_t, std::int32_t) {}
void text_write(Program&, const char*, std::int32_t, std::int32_t,
                std::int32_t, std::int32_t, std::int32_t) {}
void force_write(Program&) {}

}  // namespace mowa::text
