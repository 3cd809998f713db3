#include "platform/softgdi/font_raster.h"

#ifndef MOWA_FONT_FILE
#include <fontconfig/fontconfig.h>
#endif
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H
#include <iconv.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>

#include "base/cp932.h"
#include "platform/softgdi/draw_area.h"

namespace mowa::pf {
namespace {

constexpr double kDefaultCharHeightPx = 16;
// A script may ask for any size; beyond this a single glyph would be far
// larger than a window's picture while its bitmap still costs memory.
constexpr double kMaxPpem = 2048;
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP;
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// What the fonts need after their library is gone: faces are shared between
// fonts (each with its own FT_Size), so the FreeType library, the faces and
// the code-page converter live as long as the last font.
class FontCore {
 public:
  FontCore() : cp932_(iconv_open("UTF-32LE", base::cp932_iconv_name())) {
    if (FT_Init_FreeType(&ft_) != 0) ft_ = nullptr;
  }
  ~FontCore() {
    if (cp932_ != kNoConverter) iconv_close(cp932_);
    // Done_FreeType also drops every face and every size still attached.
    if (ft_ != nullptr) FT_Done_FreeType(ft_);
  }
  FontCore(const FontCore&) = delete;
  FontCore& operator=(const FontCore&) = delete;

  // The face in the file, opened once; null when it cannot be used: only
  // scalable faces with a Unicode character map take every size and weight.
  FT_Face open(const std::string& path, int index) {
    const auto key = std::make_pair(path, index);
    if (const auto it = faces_.find(key); it != faces_.end()) return it->second;
    FT_Face face = nullptr;
    if (ft_ != nullptr && FT_New_Face(ft_, path.c_str(), index, &face) != 0)
      face = nullptr;
    if (face != nullptr &&
        (!FT_IS_SCALABLE(face) || face->units_per_EM == 0 ||
         FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0)) {
      FT_Done_Face(face);
      face = nullptr;
    }
    faces_.emplace(key, face);
    return face;
  }

  // One code-page-932 character (one or two bytes) as a code point; false
  // when the code page does not define it.
  bool decode(const char* bytes, std::size_t count, char32_t& code_point) {
    if (count == 2 && base::cp932_windows_char(
                          static_cast<unsigned char>(bytes[0]),
                          static_cast<unsigned char>(bytes[1]), code_point))
      return true;
    if (cp932_ == kNoConverter) return false;
    iconv(cp932_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes);
    std::size_t in_left = count;
    unsigned char out[8];
    char* out_ptr = reinterpret_cast<char*>(out);
    std::size_t out_left = sizeof out;
    if (iconv(cp932_, &in, &in_left, &out_ptr, &out_left) ==
            static_cast<std::size_t>(-1) ||
        in_left != 0 || out_left != sizeof out - 4)
      return false;
    code_point = static_cast<char32_t>(out[0]) |
                 static_cast<char32_t>(out[1]) << 8 |
                 static_cast<char32_t>(out[2]) << 16 |
                 static_cast<char32_t>(out[3]) << 24;
    return true;
  }

 private:
  FT_Library ft_ = nullptr;
  iconv_t cp932_;
  std::map<std::pair<std::string, int>, FT_Face> faces_;
};

#ifndef MOWA_FONT_FILE
struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;
struct FontSetDeleter {
  void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
using FontSetPtr = std::unique_ptr<FcFontSet, FontSetDeleter>;

const FcChar8* fc_str(const char* s) {
  return reinterpret_cast<const FcChar8*>(s);
}

bool has_family(FcPattern* font, const std::string& family) {
  FcChar8* value = nullptr;
  for (int n = 0;
       FcPatternGetString(font, FC_FAMILY, n, &value) == FcResultMatch; ++n) {
    if (FcStrCmpIgnoreCase(value, fc_str(family.c_str())) == 0) return true;
  }
  return false;
}

bool covers_japanese(FcPattern* font) {
  FcCharSet* charset = nullptr;
  return FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) == FcResultMatch &&
         FcCharSetHasChar(charset, 0x3042) &&  // hiragana a
         FcCharSetHasChar(charset, 0x4E00);    // kanji one
}

#endif  // MOWA_FONT_FILE

int round_26_6(FT_Pos v) { return static_cast<int>((v + 32) >> 6); }

int clamp_to_int(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(
      v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void fill(Surface& surface, const DrawArea& clip, std::int64_t left,
          std::int64_t top, std::int64_t right, std::int64_t bottom,
          std::uint32_t rgb) {
  left = std::max<std::int64_t>(left, 0);
  top = std::max<std::int64_t>(top, 0);
  right = std::min<std::int64_t>(right, clip.width);
  bottom = std::min<std::int64_t>(bottom, clip.height);
  if (left >= right || top >= bottom) return;
  for (std::int64_t y = top; y < bottom; ++y) {
    auto row =
        surface.pixels.begin() + static_cast<std::ptrdiff_t>(clip.index(0, y));
    std::fill(row + left, row + right, rgb);
  }
  surface.changed = true;
}

// Writes the set pixels of a rendered glyph whose top-left pixel lands at
// (left, top).
void blit(Surface& surface, const DrawArea& clip, const FT_Bitmap& bitmap,
          std::int64_t left, std::int64_t top, std::uint32_t rgb) {
  const std::int64_t rows = bitmap.rows;
  const std::int64_t cols = bitmap.width;
  const std::int64_t row_begin = std::max<std::int64_t>(0, -top);
  const std::int64_t row_end = std::min<std::int64_t>(rows, clip.height - top);
  const std::int64_t col_begin = std::max<std::int64_t>(0, -left);
  const std::int64_t col_end = std::min<std::int64_t>(cols, clip.width - left);
  if (row_begin >= row_end || col_begin >= col_end) return;
  // A negative pitch stores the rows bottom-up from the buffer's start.
  const unsigned char* first_row =
      bitmap.pitch >= 0 ? bitmap.buffer
                        : bitmap.buffer - (rows - 1) * bitmap.pitch;
  const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
  bool wrote = false;
  for (std::int64_t r = row_begin; r < row_end; ++r) {
    const unsigned char* src = first_row + r * bitmap.pitch;
    std::uint32_t* dst_row = surface.pixels.data() + clip.index(0, top + r);
    for (std::int64_t c = col_begin; c < col_end; ++c) {
      const bool set =
          mono ? (src[c >> 3] & (0x80 >> (c & 7))) != 0 : src[c] >= 0x80;
      if (set) {
        dst_row[left + c] = rgb;
        wrote = true;
      }
    }
  }
  if (wrote) surface.changed = true;
}

}  // namespace

#ifdef MOWA_FONT_FILE
// A build without Fontconfig (the browser player) carries one font file: the
// Japanese gothic, used whatever face the program names.
struct FontLibrary::Impl {
  std::shared_ptr<FontCore> core = std::make_shared<FontCore>();
  bool opened = false;
  FT_Face face = nullptr;

  FT_Face find(const std::string& /*name*/) {
    if (!opened) {
      opened = true;
      face = core->open(MOWA_FONT_FILE, 0);
    }
    return face;
  }
};
#else
struct FontLibrary::Impl {
  std::shared_ptr<FontCore> core = std::make_shared<FontCore>();
  FcConfig* config = FcInitLoadConfigAndFonts();
  // By face name (UTF-8): the program makes a font for every text it writes.
  std::unordered_map<std::string, FT_Face> face_by_name;
  bool fallback_searched = false;
  FT_Face fallback = nullptr;

  ~Impl() {
    if (config != nullptr) FcConfigDestroy(config);
  }

  FT_Face find(const std::string& name) {
    if (const auto it = face_by_name.find(name); it != face_by_name.end())
      return it->second;
    FT_Face face = name.empty() ? nullptr : named(name);
    if (face == nullptr) face = japanese_gothic();
    face_by_name.emplace(name, face);
    return face;
  }

  FT_Face open(FcPattern* font) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch)
      return nullptr;
    int index = 0;
    if (FcPatternGetInteger(font, FC_INDEX, 0, &index) != FcResultMatch)
      index = 0;
    return core->open(reinterpret_cast<const char*>(file), index);
  }

  // Fontconfig always answers with some font; only one that really carries
  // the family asked for counts, the rest is left to the Japanese fallback.
  FT_Face named(const std::string& name) {
    if (config == nullptr) return nullptr;
    PatternPtr pattern(FcPatternCreate());
    if (!pattern) return nullptr;
    FcPatternAddString(pattern.get(), FC_FAMILY, fc_str(name.c_str()));
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(config, pattern.get(), &result));
    if (!match || !has_family(match.get(), name)) return nullptr;
    return open(match.get());
  }

  FT_Face japanese_gothic() {
    if (fallback_searched) return fallback;
    fallback_searched = true;
    if (config == nullptr) return nullptr;
    PatternPtr pattern(FcPatternCreate());
    if (!pattern) return nullptr;
    FcPatternAddString(pattern.get(), FC_FAMILY, fc_str("monospace"));
    FcPatternAddString(pattern.get(), FC_FAMILY, fc_str("sans-serif"));
    FcPatternAddString(pattern.get(), FC_LANG, fc_str("ja"));
    FcPatternAddInteger(pattern.get(), FC_SPACING, FC_MONO);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    // The best match is nearly always the face: one look-up, no sorting of
    // every installed font.
    if (PatternPtr best{FcFontMatch(config, pattern.get(), &result)};
        best && covers_japanese(best.get()))
      fallback = open(best.get());
    if (fallback != nullptr) return fallback;
    // The best match may lack kana or kanji (a Latin monospace face) or fail
    // to open: then every font in order of preference.
    FontSetPtr fonts(
        FcFontSort(config, pattern.get(), FcFalse, nullptr, &result));
    if (!fonts) return nullptr;
    for (int i = 0; i < fonts->nfont && fallback == nullptr; ++i) {
      if (covers_japanese(fonts->fonts[i])) fallback = open(fonts->fonts[i]);
    }
    return fallback;
  }
};

#endif  // MOWA_FONT_FILE

struct RasterFont::Impl {
  std::shared_ptr<FontCore> core;
  FT_Face face = nullptr;
  FT_Size size = nullptr;
  int ascent_px = 0;
  int descent_px = 0;
  // Horizontal growth of every glyph for simulated bold, 26.6 pixels.
  FT_Pos embolden = 0;

  ~Impl() {
    if (size != nullptr) FT_Done_Size(size);
  }

  // The glyph's advance in whole pixels; leaves the glyph in the face's slot.
  bool load(FT_UInt glyph, int& advance_px) const {
    if (FT_Load_Glyph(face, glyph, kLoadFlags) != 0) return false;
    advance_px = round_26_6(face->glyph->advance.x + embolden);
    return true;
  }
};

FontLibrary::FontLibrary() : impl_(std::make_unique<Impl>()) {}
FontLibrary::~FontLibrary() = default;

std::unique_ptr<RasterFont> FontLibrary::create(const LogFontA& logfont) {
  const char* name_bytes = logfont.lfFaceName;
  const std::size_t name_length = static_cast<std::size_t>(
      std::find(name_bytes, name_bytes + LF_FACESIZE, '\0') - name_bytes);
  const FT_Face face = impl_->find(
      base::cp932_to_utf8(std::string_view(name_bytes, name_length)));
  if (face == nullptr) return nullptr;

  auto font = std::make_unique<RasterFont::Impl>();
  font->core = impl_->core;
  font->face = face;
  if (FT_New_Size(face, &font->size) != 0) {
    font->size = nullptr;
    return nullptr;
  }
  FT_Activate_Size(font->size);

  const double em_units = face->units_per_EM;
  const double ascender_units = std::max<int>(face->ascender, 0);
  const double descender_units = std::max<int>(-face->descender, 0);
  double cell_units = ascender_units + descender_units;
  if (cell_units <= 0) cell_units = em_units;

  const std::int64_t height = logfont.lfHeight;
  double em_px = kDefaultCharHeightPx;
  if (height < 0) em_px = static_cast<double>(-height);
  if (height > 0) em_px = static_cast<double>(height) * em_units / cell_units;
  double width_px = em_px;
  if (logfont.lfWidth != 0) {
    const auto* os2 =
        static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const double average_units =
        (os2 != nullptr && os2->version != 0xFFFF && os2->xAvgCharWidth > 0)
            ? os2->xAvgCharWidth
            : em_units / 2;
    const std::int64_t width = logfont.lfWidth;
    width_px = static_cast<double>(width < 0 ? -width : width) * em_units /
               average_units;
  }
  em_px = std::clamp(em_px, 1.0, kMaxPpem);
  width_px = std::clamp(width_px, 1.0, kMaxPpem);
  if (FT_Set_Char_Size(face, std::lround(width_px * 64),
                       std::lround(em_px * 64), 72, 72) != 0)
    return nullptr;

  const FT_Size_Metrics& metrics = font->size->metrics;
  font->ascent_px = round_26_6(FT_MulFix(face->ascender, metrics.y_scale));
  font->descent_px = round_26_6(FT_MulFix(-face->descender, metrics.y_scale));
  // A cell height asked for is kept exactly, whatever the rounding.
  if (height > 0 && height <= kMaxPpem)
    font->descent_px = std::max(0, static_cast<int>(height) - font->ascent_px);
  if (logfont.lfWeight > 700) {
    // Like a pen one pixel wider per 24 pixels of em, moved sideways only so
    // that the glyph keeps its height inside the cell.
    font->embolden = 64 * std::max(1, (metrics.y_ppem + 12) / 24);
  }
  return std::unique_ptr<RasterFont>(new RasterFont(std::move(font)));
}

RasterFont::RasterFont(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
RasterFont::~RasterFont() = default;

int RasterFont::cell_height() const {
  return impl_->ascent_px + impl_->descent_px;
}

int RasterFont::draw(Surface& surface, int x, int y, std::string_view cp932,
                     std::uint32_t text_rgb, bool opaque,
                     std::uint32_t background_rgb) const {
  Impl& font = *impl_;
  FT_Activate_Size(font.size);
  const FT_Face face = font.face;
  const DrawArea clip = drawable_area(surface);
  const std::int64_t top = y;
  const std::int64_t baseline = top + font.ascent_px;
  const std::int64_t bottom = baseline + font.descent_px;
  std::int64_t pen = x;
  std::int64_t total = 0;

  std::size_t i = 0;
  while (i < cp932.size()) {
    const std::size_t count =
        base::cp932_is_lead(static_cast<unsigned char>(cp932[i])) ? 2 : 1;
    if (i + count > cp932.size()) break;  // a lead byte cut off by the end
    char32_t code_point = 0;
    FT_UInt glyph = 0;
    if (font.core->decode(cp932.data() + i, count, code_point))
      glyph = FT_Get_Char_Index(face, code_point);
    i += count;

    // A character the code page or the face lacks takes the place of the
    // face's missing-glyph shape but shows nothing.
    int advance = 0;
    if (!font.load(glyph, advance)) continue;
    if (opaque)
      fill(surface, clip, pen, top, pen + advance, bottom, background_rgb);
    FT_GlyphSlot slot = face->glyph;
    if (glyph != 0 && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
      if (font.embolden != 0)
        FT_Outline_EmboldenXY(&slot->outline, font.embolden, 0);
      FT_BBox box;
      FT_Outline_Get_CBox(&slot->outline, &box);
      // Off-surface glyphs are only measured: rendering a large one costs.
      const bool visible = pen + ((box.xMax + 63) >> 6) > 0 &&
                           pen + (box.xMin >> 6) < clip.width &&
                           baseline - ((box.yMax + 63) >> 6) < clip.height &&
                           baseline - (box.yMin >> 6) > 0;
      if (visible && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) == 0) {
        blit(surface, clip, slot->bitmap, pen + slot->bitmap_left,
             baseline - slot->bitmap_top, text_rgb);
      }
    }
    pen += advance;
    total += advance;
  }
  return clamp_to_int(total);
}

}  // namespace mowa::pf
