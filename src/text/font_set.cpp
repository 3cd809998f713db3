#include "text/font_set.h"

#include "shell/error_box.h"
#include "shell/texts.h"
#include "text/gothic_font.h"

namespace mowa::text {

bool font_set_create(Program& p) {
  pf::LogFontA lf = gothic_logfont();
  for (int k = 1; k <= kFontCount; ++k) {
    lf.lfHeight = -4 * k;  // negative: the character height, not the cell's
    pf::Hfont& member = p.text.fonts[k - 1];
    member = p.pf.gdi.CreateFontIndirectA(&lf);
    if (member == nullptr) {
      // Start-up gives up here; the fonts already made are left to
      // font_set_release.
      error_box(p, "Program", texts::kNoFont);
      return false;
    }
  }
  return true;
}

void font_set_release(Program& p) {
  for (pf::Hfont& member : p.text.fonts) {
    if (member == nullptr) continue;
    p.pf.gdi.DeleteObject(member);
    member = nullptr;
  }
}

}  // namespace mowa::text
