#include "platform/sdl/sdl_display.h"

#include <SDL.h>

#include <algorithm>

namespace mowa::pf {
namespace {

SdlDisplay::Mode mode_of(const SDL_DisplayMode& m) {
  return {static_cast<Dword>(std::max(m.w, 0)),
          static_cast<Dword>(std::max(m.h, 0)),
          static_cast<Dword>(SDL_BITSPERPIXEL(m.format)),
          static_cast<Dword>(std::max(m.refresh_rate, 0))};
}

}  // namespace

std::vector<SdlDisplay::Mode> SdlDisplay::offered_modes(
    std::vector<Mode> listed, const Mode& desktop) {
  const auto has = [&listed](Dword w, Dword h, Dword bits) {
    return std::any_of(listed.begin(), listed.end(), [&](const Mode& m) {
      return m.width == w && m.height == h && m.bits == bits;
    });
  };
  if (!has(desktop.width, desktop.height, desktop.bits))
    listed.push_back(desktop);
  if (!has(640, 480, desktop.bits))
    listed.push_back(Mode{640, 480, desktop.bits, desktop.hz});
  return listed;
}

SdlDisplay::SdlDisplay(Faults& faults, SoftGdi& gdi, SdlWindow& window)
    : faults_(faults), gdi_(gdi), window_(window) {
  SDL_DisplayMode m{};
  if (SDL_GetDesktopDisplayMode(0, &m) == 0) desktop_ = mode_of(m);
  std::vector<Mode> listed;
  const int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i)
    if (SDL_GetDisplayMode(0, i, &m) == 0) listed.push_back(mode_of(m));
  modes_ = offered_modes(std::move(listed), desktop_);
  gdi_.set_display_format(static_cast<int>(desktop_.width),
                          static_cast<int>(desktop_.height),
                          static_cast<int>(desktop_.bits));
}

Bool SdlDisplay::EnumDisplaySettingsA(const char* /*device*/, Dword mode_num,
                                      DevModeA* mode) {
  if (faults_.fail("EnumDisplaySettingsA")) return kFalse;
  return fill_dev_mode(modes_, mode_num, mode);
}

Long SdlDisplay::ChangeDisplaySettingsA(DevModeA* mode, Dword /*flags*/) {
  if (faults_.fail("ChangeDisplaySettingsA")) return DISP_CHANGE_FAILED;
  // No mode: back to the one in the user's settings, the desktop's.
  const Mode target = mode ? Mode{mode->dmPelsWidth, mode->dmPelsHeight,
                                  mode->dmBitsPerPel, mode->dmDisplayFrequency}
                           : desktop_;
  window_.set_display_fullscreen(target.width == 640 && target.height == 480);
  gdi_.set_display_format(static_cast<int>(target.width),
                          static_cast<int>(target.height),
                          static_cast<int>(target.bits));
  return DISP_CHANGE_SUCCESSFUL;
}

}  // namespace mowa::pf
