// The one face the text routines draw with, as the font request that every
// text font starts from.
#pragma once

#include <cstring>

#include "platform/types.h"
#include "report/texts.h"

namespace mowa::text {

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

}  // namespace mowa::text
