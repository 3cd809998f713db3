#include "platform/web/web_platform.h"

namespace mowa::pf {

WebPlatform::WebPlatform(std::FILE* out)
    : platform_{box, clock, window, gdi, display, sound, memory, files, files, saves, out} {
  window.set_sound(&sound);
}

}  // namespace mowa::pf
