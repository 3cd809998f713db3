#include "platform/softgdi/soft_gdi.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/softgdi/dib_blit.h"
#include "platform/softgdi/font_raster.h"
#include "platform/softgdi/shape_raster.h"

namespace mowa::pf {
namespace {

constexpr ColorRef kWhite = 0xFFFFFF;
constexpr ColorRef kBlack = 0x000000;

// The static colours every display keeps, which the default palette holds.
constexpr PaletteEntry kDefaultPaletteEntries[] = {
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},
    {128, 128, 0, 0},   {0, 0, 128, 0},     {128, 0, 128, 0},
    {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0},
    {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
    {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},
    {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},
    {0, 255, 255, 0},   {255, 255, 255, 0},
};

enum class Kind { palette, pen, brush, font };

struct GdiObject {
  Kind kind = Kind::pen;
  // Stock objects belong to the system: they are never counted as live and
  // "deleting" them does nothing.
  bool stock = false;
  std::vector<PaletteEntry> entries;   // palette
  int pen_style = PS_SOLID;            // pen
  int pen_width = 1;                   // pen
  ColorRef colour = kBlack;            // pen, brush
  LogFontA logfont{};                  // font
  std::unique_ptr<RasterFont> raster;  // font; the stock one's on first use
  bool raster_tried = false;
};

struct DeviceContext {
  Surface* target = nullptr;  // null: the whole screen, never drawn on
  Hpalette palette = nullptr;
  Hpen pen = nullptr;
  Hbrush brush = nullptr;
  Hfont font = nullptr;
  int bk_mode = OPAQUE;
  ColorRef bk_colour = kWhite;
  ColorRef text_colour = kBlack;
  Point position{0, 0};
};

std::uintptr_t key_of(const void* handle) {
  return reinterpret_cast<std::uintptr_t>(handle);
}

}  // namespace

struct SoftGdi::State {
  // Objects and device contexts share one counter, so no handle value ever
  // names two things, and values are never reused, so a deleted handle stays
  // unknown.
  std::uintptr_t last_handle = 0;
  std::unordered_map<std::uintptr_t, GdiObject> objects;
  std::unordered_map<std::uintptr_t, DeviceContext> dcs;
  Hpalette stock_palette = nullptr;
  Hpen stock_pen = nullptr;
  Hbrush stock_brush = nullptr;
  Hfont stock_font = nullptr;
  // Made on the first font request: opening Fontconfig takes long, and many
  // users of the GDI never draw text.
  std::unique_ptr<FontLibrary> font_library;
  // The screen as the backend's display service reports it; nothing is
  // known of it before.
  int horz_res = 0;
  int vert_res = 0;
  int bits_pixel = 32;

  std::uintptr_t next_key() {
    // Spaced apart and far from zero: a handle looks like no small integer
    // and like no pointer the program holds.
    last_handle += 0x10;
    return 0x4D000000u + last_handle;
  }

  Hgdiobj add(GdiObject object) {
    const std::uintptr_t key = next_key();
    objects.emplace(key, std::move(object));
    return reinterpret_cast<Hgdiobj>(key);
  }

  GdiObject* find(Hgdiobj handle) {
    if (handle == nullptr) return nullptr;
    const auto it = objects.find(key_of(handle));
    return it == objects.end() ? nullptr : &it->second;
  }

  DeviceContext* find_dc(Hdc hdc) {
    if (hdc == nullptr) return nullptr;
    const auto it = dcs.find(key_of(hdc));
    return it == dcs.end() ? nullptr : &it->second;
  }

  bool selected_anywhere(Hgdiobj handle) const {
    return std::any_of(dcs.begin(), dcs.end(), [handle](const auto& entry) {
      const DeviceContext& dc = entry.second;
      return dc.pen == handle || dc.brush == handle || dc.font == handle;
    });
  }

  FontLibrary& fonts() {
    if (!font_library) font_library = std::make_unique<FontLibrary>();
    return *font_library;
  }

  const RasterFont* raster_of(GdiObject& font) {
    if (!font.raster && !font.raster_tried) {
      font.raster_tried = true;
      font.raster = fonts().create(font.logfont);
    }
    return font.raster.get();
  }
};

SoftGdi::SoftGdi(Faults& faults)
    : faults_(faults), state_(std::make_unique<State>()) {
  GdiObject palette;
  palette.kind = Kind::palette;
  palette.stock = true;
  palette.entries.assign(std::begin(kDefaultPaletteEntries),
                         std::end(kDefaultPaletteEntries));
  state_->stock_palette = state_->add(std::move(palette));

  GdiObject pen;
  pen.kind = Kind::pen;
  pen.stock = true;
  pen.colour = kBlack;
  state_->stock_pen = state_->add(std::move(pen));

  GdiObject brush;
  brush.kind = Kind::brush;
  brush.stock = true;
  brush.colour = kWhite;
  state_->stock_brush = state_->add(std::move(brush));

  // The fallback Japanese gothic at 16 pixels; rasterised on first use.
  GdiObject font;
  font.kind = Kind::font;
  font.stock = true;
  font.logfont.lfHeight = -16;
  font.logfont.lfWeight = 400;
  font.logfont.lfCharSet = SHIFTJIS_CHARSET;
  state_->stock_font = state_->add(std::move(font));
}

SoftGdi::~SoftGdi() = default;

Hdc SoftGdi::open_dc(Surface* target) {
  DeviceContext dc;
  dc.target = target;
  dc.palette = state_->stock_palette;
  dc.pen = state_->stock_pen;
  dc.brush = state_->stock_brush;
  dc.font = state_->stock_font;
  const std::uintptr_t key = state_->next_key();
  state_->dcs.emplace(key, dc);
  return reinterpret_cast<Hdc>(key);
}

std::size_t SoftGdi::open_dcs() const { return state_->dcs.size(); }

void SoftGdi::close_dc(Hdc hdc) {
  if (hdc != nullptr) state_->dcs.erase(key_of(hdc));
}

bool SoftGdi::is_dc(Hdc hdc) const {
  return hdc != nullptr && state_->dcs.count(key_of(hdc)) != 0;
}

void SoftGdi::set_display_format(int width, int height, int bits_per_pixel) {
  state_->horz_res = width;
  state_->vert_res = height;
  state_->bits_pixel = bits_per_pixel;
}

std::size_t SoftGdi::live_objects() const {
  return static_cast<std::size_t>(
      std::count_if(state_->objects.begin(), state_->objects.end(),
                    [](const auto& entry) { return !entry.second.stock; }));
}

// ---- palette and blit ------------------------------------------------------

Hpalette SoftGdi::CreatePalette(const LogPalette* palette) {
  if (faults_.fail("CreatePalette")) return nullptr;
  if (palette == nullptr || palette->palNumEntries == 0) return nullptr;
  // The entries run on past the record's one-element array, so they are
  // copied from the block's bytes.
  const auto* bytes = reinterpret_cast<const unsigned char*>(palette) +
                      offsetof(LogPalette, palPalEntry);
  GdiObject object;
  object.kind = Kind::palette;
  object.entries.resize(palette->palNumEntries);
  std::memcpy(object.entries.data(), bytes,
              object.entries.size() * sizeof(PaletteEntry));
  return state_->add(std::move(object));
}

Hpalette SoftGdi::SelectPalette(Hdc hdc, Hpalette palette,
                                Bool /*force_background*/) {
  if (faults_.fail("SelectPalette")) return nullptr;
  DeviceContext* dc = state_->find_dc(hdc);
  const GdiObject* object = state_->find(palette);
  if (dc == nullptr || object == nullptr || object->kind != Kind::palette)
    return nullptr;
  const Hpalette previous = dc->palette;
  dc->palette = palette;
  return previous;
}

Uint SoftGdi::RealizePalette(Hdc hdc) {
  if (faults_.fail("RealizePalette")) return GDI_ERROR;
  DeviceContext* dc = state_->find_dc(hdc);
  if (dc == nullptr) return GDI_ERROR;
  const GdiObject* palette = state_->find(dc->palette);
  return palette == nullptr ? 0 : static_cast<Uint>(palette->entries.size());
}

Bool SoftGdi::DeleteObject(Hgdiobj object) {
  if (faults_.fail("DeleteObject")) return kFalse;
  const GdiObject* found = state_->find(object);
  if (found == nullptr) return kFalse;
  if (found->stock) return kTrue;
  if (found->kind == Kind::palette) {
    for (auto& entry : state_->dcs)
      if (entry.second.palette == object)
        entry.second.palette = state_->stock_palette;
  } else if (state_->selected_anywhere(object)) {
    return kFalse;
  }
  state_->objects.erase(key_of(object));
  return kTrue;
}

int SoftGdi::StretchDIBits(Hdc hdc, int x_dest, int y_dest, int dest_width,
                           int dest_height, int x_src, int y_src, int src_width,
                           int src_height, const void* bits, const void* info,
                           Uint usage, Dword rop) {
  if (faults_.fail("StretchDIBits")) return GDI_ERROR_INT;
  // What cannot be drawn copies no scan line: 0, as Windows answers a bad
  // context or an unreadable header (an all-zero image before any load).
  DeviceContext* dc = state_->find_dc(hdc);
  if (dc == nullptr || usage != DIB_RGB_COLORS || rop != SRCCOPY) return 0;
  Dib8 dib;
  if (!read_dib8(info, bits, dib)) return 0;
  return stretch_dib8(dc->target, dib,
                      BlitRect{x_dest, y_dest, dest_width, dest_height},
                      BlitRect{x_src, y_src, src_width, src_height});
}

// ---- fonts and text --------------------------------------------------------

Hfont SoftGdi::CreateFontIndirectA(const LogFontA* logfont) {
  if (faults_.fail("CreateFontIndirectA")) return nullptr;
  if (logfont == nullptr) return nullptr;
  GdiObject object;
  object.kind = Kind::font;
  object.logfont = *logfont;
  object.raster = state_->fonts().create(*logfont);
  object.raster_tried = true;
  if (!object.raster) return nullptr;
  return state_->add(std::move(object));
}

Hgdiobj SoftGdi::SelectObject(Hdc hdc, Hgdiobj object) {
  if (faults_.fail("SelectObject")) return nullptr;
  DeviceContext* dc = state_->find_dc(hdc);
  const GdiObject* found = state_->find(object);
  if (dc == nullptr || found == nullptr) return nullptr;
  Hgdiobj* slot = nullptr;
  switch (found->kind) {
    case Kind::pen:
      slot = &dc->pen;
      break;
    case Kind::brush:
      slot = &dc->brush;
      break;
    case Kind::font:
      slot = &dc->font;
      break;
    case Kind::palette:
      return nullptr;  // palettes go through SelectPalette
  }
  const Hgdiobj previous = *slot;
  *slot = object;
  return previous;
}

int SoftGdi::SetBkMode(Hdc hdc, int mode) {
  if (faults_.fail("SetBkMode")) return 0;
  DeviceContext* dc = state_->find_dc(hdc);
  if (dc == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  const int previous = dc->bk_mode;
  dc->bk_mode = mode;
  return previous;
}

ColorRef SoftGdi::SetTextColor(Hdc hdc, ColorRef colour) {
  if (faults_.fail("SetTextColor")) return CLR_INVALID;
  DeviceContext* dc = state_->find_dc(hdc);
  if (dc == nullptr) return CLR_INVALID;
  const ColorRef previous = dc->text_colour;
  dc->text_colour = colour;
  return previous;
}

Bool SoftGdi::TextOutA(Hdc hdc, int x, int y, const char* text, int length) {
  if (faults_.fail("TextOutA")) return kFalse;
  DeviceContext* dc = state_->find_dc(hdc);
  if (dc == nullptr || length < 0 || (text == nullptr && length > 0))
    return kFalse;
  GdiObject* font = state_->find(dc->font);
  if (font == nullptr) return kFalse;
  // Without a face nothing can be drawn: report it rather than pretend.
  const RasterFont* raster = state_->raster_of(*font);
  if (raster == nullptr) return kFalse;
  if (dc->target == nullptr || length == 0) return kTrue;
  raster->draw(*dc->target, x, y,
               std::string_view(text, static_cast<std::size_t>(length)),
               rgb_from_colorref(dc->text_colour), dc->bk_mode == OPAQUE,
               rgb_from_colorref(dc->bk_colour));
  dc->target->changed = true;
  return kTrue;
}

// ---- pens and shapes -------------------------------------------------------

Hpen SoftGdi::CreatePen(int style, int width, ColorRef colour) {
  if (faults_.fail("CreatePen")) return nullptr;
  GdiObject object;
  object.kind = Kind::pen;
  object.pen_style = style;
  object.pen_width = width;
  object.colour = colour;
  return state_->add(std::move(object));
}

Hbrush SoftGdi::CreateSolidBrush(ColorRef colour) {
  if (faults_.fail("CreateSolidBrush")) return nullptr;
  GdiObject object;
  object.kind = Kind::brush;
  object.colour = colour;
  return state_->add(std::move(object));
}

Bool SoftGdi::Rectangle(Hdc hdc, int left, int top, int right, int bottom) {
  if (faults_.fail("Rectangle")) return kFalse;
  DeviceContext* dc = state_->find_dc(hdc);
  if (dc == nullptr) return kFalse;
  const GdiObject* pen = state_->find(dc->pen);
  const GdiObject* brush = state_->find(dc->brush);
  if (pen == nullptr || brush == nullptr) return kFalse;
  if (dc->target != nullptr)
    draw_framed_rect(*dc->target, left, top, right, bottom,
                     rgb_from_colorref(pen->colour),
                     rgb_from_colorref(brush->colour));
  return kTrue;
}

Bool SoftGdi::MoveToEx(Hdc hdc, int x, int y, Point* previous) {
  if (faults_.fail("MoveToEx")) return kFalse;
  DeviceContext* dc = state_->find_dc(hdc);
  if (dc == nullptr) return kFalse;
  if (previous != nullptr) *previous = dc->position;
  dc->position = Point{x, y};
  return kTrue;
}

Bool SoftGdi::LineTo(Hdc hdc, int x, int y) {
  if (faults_.fail("LineTo")) return kFalse;
  DeviceContext* dc = state_->find_dc(hdc);
  if (dc == nullptr) return kFalse;
  const GdiObject* pen = state_->find(dc->pen);
  if (pen == nullptr) return kFalse;
  if (dc->target != nullptr)
    draw_line(*dc->target, dc->position.x, dc->position.y, x, y,
              rgb_from_colorref(pen->colour));
  dc->position = Point{x, y};
  return kTrue;
}

// ---- device format ---------------------------------------------------------

int SoftGdi::GetDeviceCaps(Hdc hdc, int index) {
  if (faults_.fail("GetDeviceCaps")) return 0;
  if (state_->find_dc(hdc) == nullptr) return 0;
  switch (index) {
    case BITSPIXEL:
      return state_->bits_pixel;
    case HORZRES:
      return state_->horz_res;
    case VERTRES:
      return state_->vert_res;
    default:
      return 0;
  }
}

}  // namespace mowa::pf
