#include "graphics/composition.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "graphics/bmp_decode.h"
#include "graphics/image_block.h"
#include "graphics/picture_refusal.h"
#include "graphics/repaint_request.h"
#include "shell/error_box.h"
#include "shell/texts.h"

namespace mowa::graphics {
namespace {

// No palette sprite of at most 640x480 comes near this size; a longer file
// is read this far, which holds all its pixels.
constexpr std::size_t kMostSpriteBytes = std::size_t{16} << 20;

// The whole file, a byte at a time through the stream.
std::vector<std::uint8_t> read_all(pf::Stream& in) {
  std::vector<std::uint8_t> bytes;
  in.fseek(0, pf::SEEK_SET_);
  for (int c = in.fgetc(); c != -1 && bytes.size() < kMostSpriteBytes;
       c = in.fgetc())
    bytes.push_back(static_cast<std::uint8_t>(c));
  return bytes;
}

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

void showdib(Program& p, pf::Hdc hdc, pf::Hglobal image) {
  constexpr char kCaption[] = "showdib";
  const std::uint8_t* block = lock_image(p, image, kCaption);
  if (block == nullptr) return;
  const ViewRect& view = p.gfx.view;
  const int x_src = (kImageWidth - view.width) / 2 + view.x_offset;
  const int y_src = (kImageHeight - view.height) / 2 + view.y_offset;
  if (p.pf.gdi.StretchDIBits(hdc, p.gfx.picture_x, p.gfx.picture_y,
                             kImageWidth, kImageHeight, x_src, y_src,
                             view.width, view.height, block + kPixelOffset,
                             block, pf::DIB_RGB_COLORS,
                             pf::SRCCOPY) == pf::GDI_ERROR_INT)
    call_failed(p, kCaption, "StretchDIBits");
  p.pf.memory.SetLastError(pf::NO_ERROR);
  unlock_image(p, image, kCaption);
}

void character(Program& p, const char* file, std::int32_t x, std::int32_t y,
               std::int32_t opaque, std::int32_t /*fifth*/) {
  constexpr char kCaption[] = "character";
  // A sprite file is reported as the loader reports picture files.
  constexpr char kFileCaption[] = "opendib";
  p.gfx.repaint = 1;
  pf::Stream* in = p.pf.files.fopen(file, "rb");
  if (in == nullptr) {
    error_box_with(p, kFileCaption, texts::kNotFoundFmt, file);
    return;
  }
  const bmp::Decoded sprite = bmp::decode(read_all(*in));
  if (sprite.refusal != bmp::Refusal::none) {
    error_box_with(p, kFileCaption,
                   refusal_format(sprite.refusal, FileUse::sprite), file);
    p.pf.files.fclose(in);
    return;
  }
  std::uint8_t* image = lock_image(p, p.gfx.screen_image, kCaption);
  if (image != nullptr) {
    lay_sprite(sprite.picture, image, x, y, opaque == 1);
    unlock_image(p, p.gfx.screen_image, kCaption);
  }
  p.pf.files.fclose(in);
  request_repaint(p, kCaption);
}

void screen_copy(Program& p, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                 std::int32_t y2, std::int32_t dx, std::int32_t dy) {
  constexpr char kCaption[] = "screen_copy";
  p.gfx.repaint = 1;
  std::uint8_t* screen = lock_image(p, p.gfx.screen_image, kCaption);
  const std::uint8_t* back = lock_image(p, p.gfx.back_image, kCaption);
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
  if (back != nullptr) unlock_image(p, p.gfx.back_image, kCaption);
  if (screen != nullptr) unlock_image(p, p.gfx.screen_image, kCaption);
}

}  // namespace mowa::graphics
