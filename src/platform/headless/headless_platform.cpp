#include "platform/headless/headless_platform.h"

namespace mowa::pf {

HeadlessPlatform::HeadlessPlatform(std::FILE* out)
    : platform_{box, clock, window, gdi, display, sound, memory, files, files, files, out} {}

}  // namespace mowa::pf
