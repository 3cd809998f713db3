#include "graphics/composition.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "graphics/bmp_decode.h"
#include "graphics/graphics.h"
#include "graphics/images.h"
#include "report/error_box.h"
#include "report/texts.h"

namespace mowa::graphics {

namespace {

// No palette sprite of at most 640x480 comes near this size; a longer file
// is read this far, which holds all its pixels.
constexpr std::size_t kMostSpriteBytes = std::size_t{16} << 20;

// The sprite's stored rows, bottom row first, laid over the screen image
// with its bottom-left pixel at (x, y); only what lies inside the picture is
// stored. The indices are the screen image's: the file's colours are unused.
void lay_sprite(const bmp::IndexedPicture& sprite, std::uint8_t* image,
                std::int64_t x, std::int64_t y, bool opaque) {
  for (int s = 0; s < sprite.height; ++s)
    for (int j = 0; j < sprite.width; ++j) {
      const std::uint8_t v = sprite.at(j, s);
      if ((v != 0 || opaque) && inside_picture(x + j, y + s))
        image[pixel_offset(x + j, y + s)] = v;
    }
}

// The part [first, first + count) of a run of `count` cells starting at
// `from` in one picture and `to` in the other that lies inside both.
struct Overlap {
  std::int64_t first = 0;
  std::int64_t end = 0;
};

Overlap overlap(std::int64_t from, std::int64_t to, std::int64_t count,
                std::int64_t limit) {
  const std::int64_t first = std::max<std::int64_t>({0, -from, -to});
  const std::int64_t end = std::min({count, limit - from, limit - to});
  return {first, std::max(first, end)};
}

}  // namespace

// The whole file, a byte at a time through the stream.
std::vector<std::uint8_t> read_all(pf::Stream& in) {
  std::vector<std::uint8_t> bytes;
  in.fseek(0, pf::SEEK_SET_);
  for (int c = in.fgetc(); c != -1 && bytes.size() < kMostSpriteBytes;
       c = in.fgetc())
    bytes.push_back(static_cast<std::uint8_t>(c));
  return bytes;
}

void showdib(Graphics& g, pf::Hdc hdc, pf::Hglobal image) {
  constexpr char kCaption[] = "showdib";
  const ImageLock lock(g, image, kCaption);
  const std::uint8_t* block = lock.bytes();
  if (block == nullptr) return;
  const ViewRect& view = g.view;
  const int x_src = (kImageWidth - view.width) / 2 + view.x_offset;
  const int y_src = (kImageHeight - view.height) / 2 + view.y_offset;
  if (g.gdi.StretchDIBits(hdc, g.picture_x, g.picture_y, kImageWidth,
                          kImageHeight, x_src, y_src, view.width, view.height,
                          block + kPixelOffset, block, pf::DIB_RGB_COLORS,
                          pf::SRCCOPY) == pf::GDI_ERROR_INT)
    call_failed(g.report, kCaption, "StretchDIBits");
  g.memory.SetLastError(pf::NO_ERROR);
}

namespace {

void place_sprite(Graphics& g, const char* file, std::int32_t x, std::int32_t y,
                  std::int32_t opaque) {
  constexpr char kCaption[] = "character";
  // A sprite file is reported as the loader reports picture files.
  constexpr char kFileCaption[] = "opendib";
  g.repaint = 1;
  pf::Stream* in = g.files.fopen(file, "rb");
  if (in == nullptr) {
    error_box_with(g.report, kFileCaption, texts::kNotFoundFmt, file);
    return;
  }
  const bmp::Decoded sprite = bmp::decode(read_all(*in));
  if (sprite.refusal != bmp::Refusal::none) {
    error_box_with(g.report, kFileCaption,
                   refusal_format(sprite.refusal, FileUse::sprite), file);
    g.files.fclose(in);
    return;
  }
  {
    const ImageLock image(g, g.screen_image, kCaption);
    if (image) lay_sprite(sprite.picture, image.bytes(), x, y, opaque == 1);
  }
  g.files.fclose(in);
  request_repaint(g, kCaption);
}

}  // namespace

void character(Graphics& g, const char* file, std::int32_t x, std::int32_t y,
               std::int32_t opaque, std::int32_t /*fifth*/) {
  place_sprite(g, file, x, y, opaque);
  // The command's own request has never been checked.
  request_repaint(g, nullptr);
}

void screen_copy(Graphics& g, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                 std::int32_t y2, std::int32_t dx, std::int32_t dy) {
  constexpr char kCaption[] = "screen_copy";
  g.repaint = 1;
  const ImageLock screen_lock(g, g.screen_image, kCaption);
  const ImageLock back_lock(g, g.back_image, kCaption);
  std::uint8_t* screen = screen_lock.bytes();
  const std::uint8_t* back = back_lock.bytes();
  // The back image is unlocked first, then the screen image.
  if (screen != nullptr && back != nullptr) {
    // Only the part that lies inside both pictures is copied.
    const Overlap columns = overlap(x1, dx, std::int64_t{x2} - x1, kImageWidth);
    const Overlap rows = overlap(y1, dy, std::int64_t{y2} - y1, kImageHeight);
    const auto bytes = static_cast<std::size_t>(columns.end - columns.first);
    for (std::int64_t s = rows.first; s < rows.end && bytes > 0; ++s)
      std::memcpy(screen + pixel_offset(dx + columns.first, dy + s),
                  back + pixel_offset(x1 + columns.first, y1 + s), bytes);
  }
}

void request_repaint(Graphics& g, const char* caption) {
  const bool invalidated =
      g.window.InvalidateRect(g.main_window, nullptr, pf::kFalse) != pf::kFalse;
  if (!invalidated && caption != nullptr)
    call_failed(g.report, caption, "InvalidateRect");
  const bool updated = g.window.UpdateWindow(g.main_window) != pf::kFalse;
  if (!updated && caption != nullptr)
    call_failed(g.report, caption, "UpdateWindow");
}

void text_drawn(Graphics& g) { g.repaint = 0; }

void paint(Graphics& g, pf::Hdc hdc) {
  if (g.window_palette) {
    g.gdi.SelectPalette(hdc, g.window_palette, pf::kFalse);
    g.gdi.RealizePalette(hdc);
  }
  if (g.repaint == 1) showdib(g, hdc, g.screen_image);
  g.repaint = 0;
}

void zoom_frame(Graphics& g, const ViewRect& view, const char* caption) {
  g.view = view;
  g.repaint = 1;
  request_repaint(g, caption);
}

namespace {

void select(Graphics& g, pf::Hdc hdc, pf::Hgdiobj object, const char* caption) {
  if (g.gdi.SelectObject(hdc, object) == nullptr)
    call_failed(g.report, caption, "SelectObject");
}

pf::Hpen make_pen(Graphics& g, std::int32_t colour, const char* caption) {
  const pf::Hpen pen =
      g.gdi.CreatePen(pf::PS_SOLID, 1, static_cast<pf::ColorRef>(colour));
  if (pen == nullptr) call_failed(g.report, caption, "CreatePen");
  return pen;
}

}  // namespace

void boxfill(Graphics& g, std::int32_t x1, std::int32_t y1, std::int32_t x2,
             std::int32_t y2, std::int32_t colour) {
  constexpr char kCaption[] = "boxfill";
  text_drawn(g);
  // Given back in the reverse order: the DC, the brush, the pen.
  const DrawingObject pen(g, make_pen(g, colour, kCaption), kCaption);
  const DrawingObject brush(
      g, g.gdi.CreateSolidBrush(static_cast<pf::ColorRef>(colour)), kCaption);
  // Misspelt, and kept so: scenario writers and their players know the box
  // by this text.
  if (!brush) call_failed(g.report, kCaption, "CreateDolidBrush");
  const WindowDc dc(g, kCaption, WindowDc::Release::kOnlyHeld);
  // Drawing without the pen or the brush of the colour asked for would show
  // another colour, so nothing is drawn then.
  if (dc.get() == nullptr || !pen || !brush) return;
  select(g, dc.get(), pen.get(), kCaption);
  select(g, dc.get(), brush.get(), kCaption);
  if (g.gdi.Rectangle(dc.get(), x1, y1, x2, y2) == pf::kFalse)
    call_failed(g.report, kCaption, "Rectangle");
}

void box(Graphics& g, std::int32_t x1, std::int32_t y1, std::int32_t x2,
         std::int32_t y2, std::int32_t colour) {
  constexpr char kCaption[] = "box";
  text_drawn(g);
  const DrawingObject pen(g, make_pen(g, colour, kCaption), kCaption);
  const WindowDc dc(g, kCaption, WindowDc::Release::kOnlyHeld);
  if (dc.get() == nullptr || !pen) return;
  select(g, dc.get(), pen.get(), kCaption);
  pf::GdiService& gdi = g.gdi;
  if (gdi.MoveToEx(dc.get(), x1, y1, nullptr) == pf::kFalse)
    call_failed(g.report, kCaption, "MoveToEx");
  // Each side leaves out its end point, which the next side draws.
  const pf::Point corners[] = {{x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}};
  for (const pf::Point& corner : corners)
    if (gdi.LineTo(dc.get(), corner.x, corner.y) == pf::kFalse)
      call_failed(g.report, kCaption, "LineTo");
}

}  // namespace mowa::graphics
