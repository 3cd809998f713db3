#include "platform/headless/presenter.h"

#include <cstdio>

#include "platform/softgdi/png_io.h"

namespace mowa::pf {

void Presenter::present_if_changed(Surface& surface) {
  if (!surface.changed) return;
  surface.changed = false;
  ++frames_;
  log_.event("present").num("frame", static_cast<std::int64_t>(frames_));
  if (frames_dir_.empty()) return;
  char name[32];
  std::snprintf(name, sizeof name, "/frame-%05llu.png",
                static_cast<unsigned long long>(frames_));
  if (!write_png(frames_dir_ + name, surface))
    std::fprintf(stderr, "mowa-headless: cannot write %s%s\n",
                 frames_dir_.c_str(), name);
}

}  // namespace mowa::pf
