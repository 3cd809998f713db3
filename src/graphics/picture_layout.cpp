#include "graphics/picture_layout.h"

#include "graphics/graphics.h"

namespace mowa::graphics {
namespace {

constexpr std::uint32_t kPixelBytes =
    static_cast<std::uint32_t>(kImageWidth) * kImageHeight;
constexpr std::uint32_t kTableBytes = 1024;

}  // namespace

PictureForm picture_form(const pf::BitmapInfoHeader& h, pf::Dword file_bytes) {
  const bool standard_header =
      h.biSize == 40 && h.biWidth == kImageWidth && h.biHeight == kImageHeight &&
      h.biBitCount == 8 && h.biCompression == pf::BI_RGB &&
      (h.biClrUsed == 0 || h.biClrUsed == 256);
  if (!standard_header) return PictureForm::other;
  // Without the size only the standard header can still be trusted.
  if (file_bytes == pf::INVALID_FILE_SIZE) return PictureForm::standard;
  // The gap between the info header and the pixels, counted from the end of
  // the file in 32-bit arithmetic as the loader counts it.
  const std::uint32_t gap =
      (file_bytes - h.biSize - kPixelBytes - kFileHeaderBytes) & ~3u;
  return gap == kTableBytes ? PictureForm::standard : PictureForm::other;
}

}  // namespace mowa::graphics
