#include "graphics/picture_refusal.h"

#include "report/texts.h"

namespace mowa::graphics {

const char* refusal_format(bmp::Refusal why, FileUse use) {
  switch (why) {
    case bmp::Refusal::not_bmp: return texts::kNotBmpFmt;
    case bmp::Refusal::not_palette: return texts::kNotPaletteFmt;
    case bmp::Refusal::unknown_compression: return texts::kUnknownCompressionFmt;
    case bmp::Refusal::too_large:
      return use == FileUse::picture ? texts::kNot640x480Fmt
                                     : texts::kLargerThan640x480Fmt;
    case bmp::Refusal::cut_short: return texts::kCutShortFmt;
    case bmp::Refusal::none:
    case bmp::Refusal::broken: break;
  }
  return texts::kBrokenFmt;
}

}  // namespace mowa::graphics
