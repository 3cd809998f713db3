// The text part: the font set and the stored message text, and the services
// it draws and waits with. It draws over the picture that the graphics part
// keeps, and tells it when text was drawn.
#pragma once

#include <cstdint>
#include <cstring>

#include "graphics/graphics.h"
#include "platform/platform.h"
#include "platform/types.h"
#include "report/error_box.h"
#include "report/texts.h"

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

static_assert(sizeof texts::kFontFace <= pf::LF_FACESIZE,
              "the face name must fit the request with its terminating zero");

// The message fonts and the per-call fonts share everything but the size:
// heavy, Shift-JIS, half-width cells 14 pixels wide. The caller sets lfHeight.
inline pf::LogFontA gothic_logfont() {
  pf::LogFontA lf{};
  lf.lfWidth = 14;
  lf.lfWeight = 1000;
  lf.lfCharSet = pf::SHIFTJIS_CHARSET;
  std::memcpy(lf.lfFaceName, texts::kFontFace, sizeof texts::kFontFace);
  return lf;
}

// Creates the fonts of heights 4 to 32, smallest first; at the first that
// cannot be created, shows its box and returns false.
bool font_set_create(Text& t);
// Deletes every member that exists.
void font_set_release(Text& t);

void message_write(Text& t, pf::Hdc hdc, const char* text, int height);
void message_in(Text& t, const char* text);
void message_out(Text& t);

void number_write(Text& t, std::int32_t value, std::int32_t x, std::int32_t y,
                  std::int32_t size, std::int32_t colour, std::int32_t opaque);
void text_write(Text& t, const char* text, std::int32_t x, std::int32_t y,
                std::int32_t size, std::int32_t colour, std::int32_t opaque);
void force_write(Text& t);

}  // namespace mowa::text
