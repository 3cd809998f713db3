#include "graphics/picture_layout.h"

#include "graphics/graphics.h"

namespace mowa::graphics {
namespace {

constexpr std::uint32_t kPixelBytes =
    static_cast<std::uint32_t>(kImageWidth) * kImageHeight;
constexpr std::uint32_t kTableBytes = 1024;

// The info-header sizes whose first 40 bytes are a BITMAPINFOHEADER.
bool known_info_size(pf::Dword size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool picture_of_the_right_kind(const pf::BitmapInfoHeader& h) {
  return picture_problem(h) == PictureProblem::none;
}

}  // namespace

PictureProblem picture_problem(const pf::BitmapInfoHeader& h) {
  if (!known_info_size(h.biSize)) return PictureProblem::info_header;
  if (h.biWidth != kImageWidth ||
      (h.biHeight != kImageHeight && h.biHeight != -kImageHeight))
    return PictureProblem::size;
  if (h.biBitCount != 8) return PictureProblem::bit_count;
  if (h.biCompression != pf::BI_RGB) return PictureProblem::compression;
  if (h.biClrUsed > 256) return PictureProblem::colours;
  return PictureProblem::none;
}

PictureForm picture_form(const pf::BitmapInfoHeader& h, pf::Dword file_bytes) {
  if (!picture_of_the_right_kind(h)) return PictureForm::broken;
  const bool standard_header = h.biSize == 40 && h.biHeight == kImageHeight &&
                               (h.biClrUsed == 0 || h.biClrUsed == 256);
  if (file_bytes == pf::INVALID_FILE_SIZE)
    // Without the size only the standard header can still be trusted.
    return standard_header ? PictureForm::standard : PictureForm::broken;
  // The gap between the info header and the pixels, counted from the end of
  // the file in 32-bit arithmetic as the loader counts it.
  const std::uint32_t gap =
      (file_bytes - h.biSize - kPixelBytes - kFileHeaderBytes) & ~3u;
  if (standard_header && gap == kTableBytes) return PictureForm::standard;
  return PictureForm::other;
}

OtherLayout other_layout(const pf::BitmapInfoHeader& h, pf::Dword file_bytes,
                         pf::Dword pixels_at) {
  OtherLayout layout;
  if (!picture_of_the_right_kind(h) || file_bytes == pf::INVALID_FILE_SIZE)
    return layout;
  layout.table_at = kFileHeaderBytes + h.biSize;
  layout.table_entries = h.biClrUsed == 0 ? 256 : h.biClrUsed;
  layout.pixels_at = pixels_at;
  layout.top_down = h.biHeight < 0;
  const std::uint64_t table_end =
      std::uint64_t{layout.table_at} + 4u * std::uint64_t{layout.table_entries};
  const std::uint64_t pixels_end = std::uint64_t{pixels_at} + kPixelBytes;
  layout.loadable = table_end <= pixels_at && pixels_end <= file_bytes;
  return layout;
}

}  // namespace mowa::graphics
