#include "text/text.h"

#include "report/error_box.h"
#include "report/texts.h"

namespace mowa::text {

bool font_set_create(Text& t) {
  pf::LogFontA lf = gothic_logfont();
  for (int k = 1; k <= kFontCount; ++k) {
    lf.lfHeight = -4 * k;  // negative: the character height, not the cell's
    pf::Hfont& member = t.fonts[k - 1];
    member = t.gdi.CreateFontIndirectA(&lf);
    if (member == nullptr) {
      // Start-up gives up here; the fonts already made are left to
      // font_set_release.
      error_box(t.report, "Program", texts::kNoFont);
      return false;
    }
  }
  return true;
}

void font_set_release(Text& t) {
  for (pf::Hfont& member : t.fonts) {
    if (member == nullptr) continue;
    t.gdi.DeleteObject(member);
    member = nullptr;
  }
}

}  // namespace mowa::text
