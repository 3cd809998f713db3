// Glyph rasterising for the software GDI: FreeType faces found through
// Fontconfig, code-page-932 text decoded with iconv.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/softgdi/surface.h"
#include "platform/types.h"

namespace mowa::pf {

class RasterFont;

// Owns the FreeType library, the Fontconfig look-ups and the code-page
// converter; one per software GDI.
class FontLibrary {
 public:
  FontLibrary();
  ~FontLibrary();
  FontLibrary(const FontLibrary&) = delete;
  FontLibrary& operator=(const FontLibrary&) = delete;

  // The face that lfFaceName (code page 932) names, or the best Japanese
  // monospaced gothic for lang ja; sized by lfHeight (negative: character
  // height in pixels), lfWidth (average character width; 0 keeps the face's
  // proportions) and lfWeight (above 700 drawn emboldened). Null when no face
  // can be opened.
  std::unique_ptr<RasterFont> create(const LogFontA& logfont);

 private:
  friend class RasterFont;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

class RasterFont {
 public:
  ~RasterFont();
  // Draws the code-page-932 bytes with the first cell's top-left corner at
  // (x, y), clipped to the surface's client size, without anti-aliasing. When
  // `opaque`, each cell is first filled with `background_rgb`. Colours are
  // 0x00RRGGBB. Returns the total advance in pixels.
  int draw(Surface& surface, int x, int y, std::string_view cp932,
           std::uint32_t text_rgb, bool opaque,
           std::uint32_t background_rgb) const;
  // The cell height in pixels (ascent + descent).
  int cell_height() const;

 private:
  friend class FontLibrary;
  struct Impl;
  explicit RasterFont(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace mowa::pf
