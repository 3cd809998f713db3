#include "platform/sdl/sdl_platform.h"

namespace mowa::pf {

SdlPlatform::SdlPlatform(const SdlSession& /*session*/, std::FILE* out)
    : platform_(assemble(*this, out)) {
  window.set_sound(&sound);
  window.set_outside_requests(&outside);
}

SdlPlatform::~SdlPlatform() {
  window.set_outside_requests(nullptr);
  window.set_sound(nullptr);
}

}  // namespace mowa::pf
