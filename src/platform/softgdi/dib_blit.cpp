#include "platform/softgdi/dib_blit.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/softgdi/draw_area.h"
#include "platform/types.h"

namespace mowa::pf {
namespace {

constexpr std::size_t kHeaderBytes = sizeof(BitmapInfoHeader);
constexpr std::uint32_t kTableEntries = 256;
// Header sizes beyond this are no header this blit knows.
constexpr Dword kMaxHeaderBytes = 124;

// One axis of a blit: which destination coordinates are drawn and from which
// source coordinates.
struct AxisRun {
  std::int64_t dest_first = 0;
  // Source coordinate (rows counted from the top as shown) of dest_first + i;
  // every one lies inside the bitmap.
  std::vector<std::int64_t> source;
  // Source coordinates follow one another one to one.
  bool one_to_one = false;
};

struct Span {
  std::int64_t first;
  std::int64_t count;
  bool reversed;
};

Span normalise(std::int64_t origin, std::int64_t extent) {
  return extent < 0 ? Span{origin + extent, -extent, true}
                    : Span{origin, extent, false};
}

// Destination pixel i of n takes the source pixel under its centre, offset
// floor((2i + 1) * m / 2n), counted from the far end when the axis is
// mirrored: the pixel that Windows' GDI picks when it enlarges. Only the
// destination pixels inside [0, clip) whose source lies inside [0, source_size)
// are kept; as the mapping is monotonic they form one run.
AxisRun map_axis(const Span& dest, const Span& src, std::int64_t clip,
                 std::int64_t source_size) {
  AxisRun run;
  const bool mirrored = dest.reversed != src.reversed;
  run.one_to_one = dest.count == src.count && !mirrored;
  const std::int64_t first = std::max<std::int64_t>(dest.first, 0);
  const std::int64_t end =
      std::min<std::int64_t>(dest.first + dest.count, clip);
  for (std::int64_t d = first; d < end; ++d) {
    const std::int64_t i = d - dest.first;
    const std::int64_t k = mirrored ? dest.count - 1 - i : i;
    // k < 2^32 and src.count <= 2^32, so the product fits 64 bits.
    const std::int64_t s =
        src.first + (2 * k + 1) * src.count / (2 * dest.count);
    if (s < 0 || s >= source_size) continue;
    if (run.source.empty()) run.dest_first = d;
    run.source.push_back(s);
  }
  return run;
}

// The hot loop of every paint: one table look-up per pixel, four at a time.
void convert_run(std::uint32_t* dst, const std::uint8_t* src, std::size_t n,
                 const std::uint32_t* rgb) {
  std::size_t j = 0;
  for (; j + 4 <= n; j += 4) {
    const std::uint32_t c0 = rgb[src[j]];
    const std::uint32_t c1 = rgb[src[j + 1]];
    const std::uint32_t c2 = rgb[src[j + 2]];
    const std::uint32_t c3 = rgb[src[j + 3]];
    dst[j] = c0;
    dst[j + 1] = c1;
    dst[j + 2] = c2;
    dst[j + 3] = c3;
  }
  for (; j < n; ++j) dst[j] = rgb[src[j]];
}

void convert_mapped(std::uint32_t* dst, const std::uint8_t* src_row,
                    const std::int64_t* columns, std::size_t n,
                    const std::uint32_t* rgb) {
  for (std::size_t j = 0; j < n; ++j) dst[j] = rgb[src_row[columns[j]]];
}

}  // namespace

bool read_dib8(const void* info, const void* bits, Dib8& dib) {
  if (info == nullptr || bits == nullptr) return false;
  BitmapInfoHeader header;
  std::memcpy(&header, info, kHeaderBytes);
  if (header.biSize < kHeaderBytes || header.biSize > kMaxHeaderBytes ||
      header.biBitCount != 8 || header.biCompression != BI_RGB ||
      header.biWidth <= 0 || header.biHeight == 0 ||
      header.biHeight == INT_MIN || header.biClrUsed > kTableEntries)
    return false;

  dib.bits = static_cast<const std::uint8_t*>(bits);
  dib.width = header.biWidth;
  dib.bottom_up = header.biHeight > 0;
  dib.height = dib.bottom_up ? std::int64_t{header.biHeight}
                             : -std::int64_t{header.biHeight};
  dib.stride_bytes = static_cast<std::size_t>((dib.width * 8 + 31) / 32 * 4);

  const std::uint32_t entries =
      header.biClrUsed == 0 ? kTableEntries : header.biClrUsed;
  const auto* table = static_cast<const std::uint8_t*>(info) + header.biSize;
  dib.rgb.fill(0);
  for (std::uint32_t i = 0; i < entries; ++i) {
    RgbQuad quad;
    std::memcpy(&quad, table + i * sizeof(RgbQuad), sizeof quad);
    dib.rgb[i] = (std::uint32_t{quad.rgbRed} << 16) |
                 (std::uint32_t{quad.rgbGreen} << 8) | quad.rgbBlue;
  }
  return true;
}

int stretch_dib8(Surface* target, const Dib8& dib, const BlitRect& dest,
                 const BlitRect& src) {
  const Span src_x = normalise(src.x, src.width);
  Span src_y = normalise(src.y, src.height);
  const std::int64_t rows_in_bitmap = std::max<std::int64_t>(
      0, std::min(src_y.first + src_y.count, dib.height) -
             std::max<std::int64_t>(src_y.first, 0));
  const auto lines = static_cast<int>(rows_in_bitmap);

  const Span dest_x = normalise(dest.x, dest.width);
  const Span dest_y = normalise(dest.y, dest.height);
  if (target == nullptr || dest_x.count == 0 || dest_y.count == 0 ||
      src_x.count == 0 || src_y.count == 0)
    return lines;

  // Work in rows as shown, top first: the top of a bottom-up source
  // rectangle is its highest stored row.
  if (dib.bottom_up) src_y.first = dib.height - (src_y.first + src_y.count);

  const DrawArea area = drawable_area(*target);
  const AxisRun columns = map_axis(dest_x, src_x, area.width, dib.width);
  const AxisRun rows = map_axis(dest_y, src_y, area.height, dib.height);
  if (columns.source.empty() || rows.source.empty()) return lines;

  const std::size_t count = columns.source.size();
  const std::uint32_t* rgb = dib.rgb.data();
  for (std::size_t r = 0; r < rows.source.size(); ++r) {
    const std::int64_t shown_row = rows.source[r];
    const std::int64_t stored_row =
        dib.bottom_up ? dib.height - 1 - shown_row : shown_row;
    const std::uint8_t* src_row =
        dib.bits + static_cast<std::size_t>(stored_row) * dib.stride_bytes;
    std::uint32_t* dst =
        target->pixels.data() +
        area.index(columns.dest_first,
                   rows.dest_first + static_cast<std::int64_t>(r));
    if (r > 0 && shown_row == rows.source[r - 1])
      // An enlarged picture repeats source rows: copy the row just drawn.
      std::memcpy(dst, dst - area.width, count * sizeof *dst);
    else if (columns.one_to_one)
      convert_run(dst, src_row + columns.source.front(), count, rgb);
    else
      convert_mapped(dst, src_row, columns.source.data(), count, rgb);
  }
  target->changed = true;
  return lines;
}

}  // namespace mowa::pf
