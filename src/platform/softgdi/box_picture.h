// The picture of a message box, drawn with the program's own fonts because
// the system's boxes cannot be relied on to show Japanese: a caption bar, the
// exclamation sign, the text lines and an OK button.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/softgdi/font_raster.h"
#include "platform/softgdi/surface.h"
#include "platform/types.h"

namespace mowa::pf {

struct BoxLayout {
  int width = 0;
  int height = 0;
  Rect caption_bar{};
  Rect sign{};
  Rect text{};  // the block the lines are drawn in
  Rect button{};
  // The text as drawn: long lines wrapped at the box's width; and the
  // caption, shortened with an ellipsis when it is wider than the box.
  std::vector<std::string> lines;
  std::string caption;
};

// Lays the box out for its caption and its text (code page 932, lines ended
// by line feeds) and draws it at the surface's top-left corner; the
// surface's client size becomes the box's. The box grows with its text up to
// 640x480; lines longer than that are wrapped, at a space where there is
// one. Without a font the box is drawn without lettering.
BoxLayout draw_box(Surface& surface, const RasterFont* font,
                   std::string_view caption_cp932, std::string_view text_cp932,
                   bool button_pressed);

// The boxes' font, the best Japanese gothic at 16 pixels, made at the first
// box: most runs never show one before the farewell. Null when there is none.
class BoxFont {
 public:
  const RasterFont* get();

 private:
  std::unique_ptr<FontLibrary> fonts_;
  std::unique_ptr<RasterFont> font_;
  bool tried_ = false;
};

constexpr bool contains(const Rect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace mowa::pf
