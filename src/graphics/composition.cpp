#include "graphics/composition.h"

#include <algorithm>
#include <cstring>

#include "graphics/image_block.h"
#include "graphics/repaint_request.h"
#include "report/error_box.h"
#include "report/texts.h"

namespace mowa::graphics {
namespace {

// Where a sprite file keeps what `character` reads.
constexpr long kSpriteWidthAt = 18;
constexpr long kSpriteHeightAt = 22;
constexpr long kPixelOffsetAt = 10;
// Header, info header and 256 colours: where the pixels of the usual sprite
// file start.
constexpr long kUsualPixelsAt = 1078;

// Low byte plus 256 times the high byte. At the end of the file each byte
// reads as -1, which makes the value negative.
std::int32_t read_u16(pf::Stream& in, long at) {
  in.fseek(at, pf::SEEK_SET_);
  const int low = in.fgetc();
  const int high = in.fgetc();
  return low + 256 * high;
}

std::uint32_t read_u32(pf::Stream& in, long at) {
  in.fseek(at, pf::SEEK_SET_);
  std::uint32_t value = 0;
  for (int shift = 0; shift < 32; shift += 8)
    value |= static_cast<std::uint32_t>(in.fgetc() & 0xFF) << shift;
  return value;
}

// The rows of a sprite, bottom row first, laid over the screen image with
// its bottom-left pixel at (x, y). Every byte is read, so that the rows stay
// in step, but only those inside the picture are stored. A byte past the end
// of the file reads as -1 and is stored as index 255.
void lay_sprite(pf::Stream& in, std::uint8_t* image, std::int64_t x,
                std::int64_t y, std::int32_t width, std::int32_t height,
                std::int32_t row_bytes, bool opaque) {
  for (std::int32_t s = 0; s < height; ++s) {
    const std::int64_t row = y + s;
    for (std::int32_t j = 0; j < row_bytes; ++j) {
      const int v = in.fgetc();
      if (j >= width || (v == 0 && !opaque) || !inside_picture(x + j, row))
        continue;
      image[pixel_offset(x + j, row)] = static_cast<std::uint8_t>(v);
    }
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

void showdib(Graphics& g, pf::Hdc hdc, pf::Hglobal image) {
  constexpr char kCaption[] = "showdib";
  const ImageLock lock(g, image, kCaption);
  const std::uint8_t* block = lock.bytes();
  if (block == nullptr) return;
  const ViewRect& view = g.view;
  const int x_src = (kImageWidth - view.width) / 2 + view.x_offset;
  const int y_src = (kImageHeight - view.height) / 2 + view.y_offset;
  if (g.gdi.StretchDIBits(hdc, g.picture_x, g.picture_y,
                             kImageWidth, kImageHeight, x_src, y_src,
                             view.width, view.height, block + kPixelOffset,
                             block, pf::DIB_RGB_COLORS,
                             pf::SRCCOPY) == pf::GDI_ERROR_INT)
    call_failed(g.report, kCaption, "StretchDIBits");
  g.memory.SetLastError(pf::NO_ERROR);
}

void character(Graphics& g, const char* file, std::int32_t x, std::int32_t y,
               std::int32_t opaque, std::int32_t /*fifth*/) {
  constexpr char kCaption[] = "character";
  // A sprite file is reported as the loader reports picture files.
  constexpr char kFileCaption[] = "opendib";
  g.repaint = 1;
  pf::Stream* in = g.files.fopen(file, "rb");
  if (in == nullptr) {
    error_box_with(g.report, kFileCaption, texts::kNotFoundFmt, file);
    return;
  }
  const std::int32_t width = read_u16(*in, kSpriteWidthAt);
  const std::int32_t height = read_u16(*in, kSpriteHeightAt);
  if (width < 1 || width > kImageWidth || height < 1 ||
      height > kImageHeight) {
    error_box_with(g.report, kFileCaption, texts::kBrokenFmt, file);
    g.files.fclose(in);
    return;
  }
  // Every BMP file pads its rows to 4 bytes and says where its pixels are;
  // sprites of the usual form (a width of a multiple of 4) are read from the
  // end of a 256-colour table, as they always were.
  std::int32_t row_bytes = width;
  long pixels_at = kUsualPixelsAt;
  if (width % 4 != 0) {
    row_bytes = (width + 3) / 4 * 4;
    pixels_at = static_cast<long>(read_u32(*in, kPixelOffsetAt));
  }
  in->fseek(pixels_at, pf::SEEK_SET_);
  {
    const ImageLock image(g, g.screen_image, kCaption);
    if (image)
      lay_sprite(*in, image.bytes(), x, y, width, height, row_bytes,
                 opaque == 1);
  }
  g.files.fclose(in);
  request_repaint(g, kCaption);
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
    const Overlap columns =
        overlap(x1, dx, std::int64_t{x2} - x1, kImageWidth);
    const Overlap rows = overlap(y1, dy, std::int64_t{y2} - y1, kImageHeight);
    const auto bytes = static_cast<std::size_t>(columns.end - columns.first);
    for (std::int64_t s = rows.first; s < rows.end && bytes > 0; ++s)
      std::memcpy(screen + pixel_offset(dx + columns.first, dy + s),
                  back + pixel_offset(x1 + columns.first, y1 + s), bytes);
  }
}

}  // namespace mowa::graphics
