#include "text/text.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "graphics/composition.h"
#include "graphics/graphics.h"
#include "report/error_box.h"

namespace mowa::text {
namespace {

// The font made for one call: the message fonts' request at the size asked
// for. Below 11 pixels the narrowing size - 10 would leave no width (or a
// mirrored one) to draw with, so those sizes keep the face's own proportions.
pf::LogFontA call_logfont(std::int32_t size) {
  pf::LogFontA lf = gothic_logfont();
  // Negated as a 32-bit value wraps: the smallest size stays itself.
  lf.lfHeight = static_cast<pf::Long>(0u - static_cast<std::uint32_t>(size));
  lf.lfWidth = size > 10 ? size - 10 : 0;
  return lf;
}

// Draws `text` with its top-left corner at (x, y) straight on the window.
void write_on_window(Text& t, const char* caption, const char* text,
                     std::int32_t x, std::int32_t y, std::int32_t size,
                     std::int32_t colour, std::int32_t opaque) {
  pf::GdiService& gdi = t.gdi;
  // The paint that this call requests must not draw the picture over the
  // text.
  graphics::text_drawn(t.graphics);
  // A font still selected (its deselection failed) cannot be deleted; once
  // the device context is released it can, so it is not left behind.
  struct DeleteAfterRelease {
    pf::GdiService& gdi;
    pf::Hfont font = nullptr;
    ~DeleteAfterRelease() {
      if (font != nullptr) gdi.DeleteObject(font);
    }
  } still_selected{gdi};
  // Released last, after the repaint.
  const graphics::WindowDc dc(t.graphics, caption,
                              graphics::WindowDc::Release::kAlways);
  const pf::Hdc hdc = dc.get();
  // Otherwise the device context's own opaque mode fills the cells white.
  if (opaque == 0 && gdi.SetBkMode(hdc, pf::TRANSPARENT) == 0)
    call_failed(t.report, caption, "SetBkMode");

  const pf::LogFontA lf = call_logfont(size);
  const pf::Hfont font = gdi.CreateFontIndirectA(&lf);
  // A font that could not be made shows here, as a failed selection.
  const pf::Hgdiobj kept = gdi.SelectObject(hdc, font);
  if (kept == nullptr) call_failed(t.report, caption, "SelectObject");
  if (gdi.SetTextColor(hdc, static_cast<pf::ColorRef>(colour)) ==
      pf::CLR_INVALID)
    call_failed(t.report, caption, "SetTextColor");

  const std::size_t length = std::strlen(text);
  if (gdi.TextOutA(hdc, x, y, text,
                   static_cast<int>(std::min<std::size_t>(length, INT_MAX))) ==
      pf::kFalse)
    call_failed(t.report, caption, "TextOut");

  gdi.SelectObject(hdc, kept);
  if (gdi.DeleteObject(font) == pf::kFalse) {
    call_failed(t.report, caption, "DeleteObject");
    still_selected.font = font;
  }
  graphics::request_repaint(t.graphics, caption);
}

}  // namespace

void number_write(Text& t, std::int32_t value, std::int32_t x, std::int32_t y,
                  std::int32_t size, std::int32_t colour, std::int32_t opaque) {
  char digits[16];  // "-2147483648" and its zero fit
  std::snprintf(digits, sizeof digits, "%ld", static_cast<long>(value));
  write_on_window(t, "number_write", digits, x, y, size, colour, opaque);
}

void text_write(Text& t, const char* text, std::int32_t x, std::int32_t y,
                std::int32_t size, std::int32_t colour, std::int32_t opaque) {
  write_on_window(t, "text_write", text != nullptr ? text : "", x, y, size,
                  colour, opaque);
}

void force_write(Text& t) {
  // The paint draws the picture only when it changed, so any text stays.
  // Reported as "character": the boxes have always named that routine here.
  graphics::request_repaint(t.graphics, "character");
}

}  // namespace mowa::text
