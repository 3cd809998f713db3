#include "platform/sdl/sdl_platform.h"

namespace mowa::pf {

SdlPlatform::SdlPlatform(const SdlSession& /*session*/, std::FILE* out)
    : platform_{box, clock, window, gdi, display, sound, memory, files, files, files, out} {
  window.set_sound(&sound);
}

SdlPlatform::~SdlPlatform() { window.set_sound(nullptr); }

}  // namespace mowa::pf
