// The text part: the font set and the stored message text, and the services
// it draws and waits with. It draws over the picture that the graphics part
// keeps, and tells it when text was drawn.
#pragma once

#include "graphics/graphics.h"
#include "platform/clock.h"
#include "platform/gdi.h"
#include "platform/types.h"
#include "platform/window.h"
#include "report/error_box.h"

namespace mowa::text {

inline constexpr int kFontCount = 8;  // heights 4, 8, ... 32
inline constexpr int kMessageBytes = 256;

struct Text {
  Text(pf::GdiService& gdi_service, pf::WindowService& window_service,
       pf::ClockService& clock_service, Reporter& reporter,
       graphics::Graphics& picture, const pf::Hwnd& main_window_handle)
      : gdi(gdi_service),
        window(window_service),
        clock(clock_service),
        report(reporter),
        graphics(picture),
        main_window(main_window_handle) {}
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;

  pf::GdiService& gdi;
  pf::WindowService& window;
  pf::ClockService& clock;  // the pause of each message frame
  Reporter& report;
  graphics::Graphics& graphics;
  const pf::Hwnd& main_window;

  pf::Hfont fonts[kFontCount] = {};
  char message[kMessageBytes] = {};
};

}  // namespace mowa::text
