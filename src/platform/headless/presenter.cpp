#include "platform/headless/presenter.h"

#include <cstdio>

#include "platform/softgdi/png_io.h"

namespace mowa::pf {
namespace {

// The black screen pictured for a window without a size, as large as
// such pictures have always been.
constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

}  // namespace

bool Presenter::write_shown(const std::string& path, const Surface* surface) {
  if (surface && surface->width() > 0 && surface->height() > 0)
    return write_png(path, *surface);
  return write_png(path, Surface(kScreenWidth, kScreenHeight));
}

void Presenter::present_if_changed(Surface& surface) {
  if (!surface.changed) return;
  surface.changed = false;
  ++frames_;
  log_.event("present").num("frame", static_cast<std::int64_t>(frames_));
  if (frames_dir_.empty()) return;
  char name[32];
  std::snprintf(name, sizeof name, "/frame-%05llu.png",
                static_cast<unsigned long long>(frames_));
  if (!write_shown(frames_dir_ + name, &surface))
    std::fprintf(stderr, "mowa-headless: cannot write %s%s\n",
                 frames_dir_.c_str(), name);
}

}  // namespace mowa::pf
