#include "platform/web/web_platform.h"

namespace mowa::pf {

WebPlatform::WebPlatform(std::FILE* out)
    : platform_(assemble(*this, out, &saves)) {
  window.set_sound(&sound);
}

}  // namespace mowa::pf
