#include "shell/program.h"

#include "graphics/composition.h"

namespace mowa::shell {

void display_mode(Program& p, std::uint8_t mode) {
  pf::WindowService& w = p.pf.window;
  pf::GdiService& gdi = p.pf.gdi;
  pf::DisplayService& display = p.pf.display;
  constexpr pf::Dword kModesTried = 1000;

  const pf::Hdc hdc = w.GetDC(p.shell.main_window);
  const int bits = gdi.GetDeviceCaps(hdc, pf::BITSPIXEL);
  const int width = gdi.GetDeviceCaps(hdc, pf::HORZRES);
  const int height = gdi.GetDeviceCaps(hdc, pf::VERTRES);
  pf::DevModeA dm{};
  auto matches = [&dm](int b, int wd, int ht) {
    return static_cast<int>(dm.dmBitsPerPel) == b &&
           static_cast<int>(dm.dmPelsWidth) == wd &&
           static_cast<int>(dm.dmPelsHeight) == ht;
  };
  if (mode == 0) {
    pf::Dword index = 0;
    for (; index < kModesTried; ++index) {
      display.EnumDisplaySettingsA(nullptr, index, &dm);
      if (matches(bits, width, height)) break;
    }
    p.shell.saved_display_mode = static_cast<std::int32_t>(index);
    bool found = false;
    for (pf::Dword i = 0; i < kModesTried && !found; ++i) {
      display.EnumDisplaySettingsA(nullptr, i, &dm);
      found = matches(bits, 640, 480);
    }
    // Without a 640x480 mode of this depth the display stays as it is.
    if (found) display.ChangeDisplaySettingsA(&dm, 0);
  } else if (mode == 1) {
    // A mode that was never found is not restored to something arbitrary.
    if (display.EnumDisplaySettingsA(
            nullptr, static_cast<pf::Dword>(p.shell.saved_display_mode), &dm))
      display.ChangeDisplaySettingsA(&dm, 0);
  }
  if (hdc) w.ReleaseDC(p.shell.main_window, hdc);
}

void screen_big_small(Program& p) {
  struct Frame {
    std::int32_t width, height, x_offset, y_offset;
  };
  for (int half = 0; half < 2; ++half) {
    // The way back has always been reported as "script"; kept as it is.
    const char* caption = half == 0 ? "screen_big_small" : "script";
    for (std::int32_t k = 0; k < 10; ++k) {
      const Frame f =
          half == 0
              ? Frame{640 - 40 * k, 480 - 30 * k, -20 * k, 15 * k}
              : Frame{280 + 40 * k, 210 + 30 * k, -180 + 20 * k, 135 - 15 * k};
      graphics::zoom_frame(p.gfx, {f.width, f.height, f.x_offset, f.y_offset},
                           caption);
      p.pf.clock.Sleep(50);
    }
  }
}

}  // namespace mowa::shell
