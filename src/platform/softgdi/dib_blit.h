// Stretching an 8-bit device-independent bitmap onto a true-colour surface.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/softgdi/surface.h"

namespace mowa::pf {

// An 8-bit uncompressed DIB, checked and ready to read.
struct Dib8 {
  const std::uint8_t* bits = nullptr;
  std::int64_t width = 0;
  std::int64_t height = 0;  // stored rows
  bool bottom_up = true;    // stored row 0 is the bottom row as shown
  std::size_t stride_bytes = 0;
  // 0x00RRGGBB for every index, so that a pixel needs no range check;
  // indices past the DIB's own table show black.
  std::array<std::uint32_t, 256> rgb{};
};

// Reads a BITMAPINFOHEADER and the colour table after it. False unless
// `info` describes an uncompressed 8-bit DIB with a sane size and table.
bool read_dib8(const void* info, const void* bits, Dib8& dib);

// A blit rectangle: origin and signed extents. A rectangle covers the pixels
// between its origin and origin + extent, whichever way the extent points;
// a destination extent whose sign differs from its source extent mirrors the
// picture along that axis.
struct BlitRect {
  std::int64_t x = 0;
  std::int64_t y = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;
};

// Stretches the source rectangle of `dib` over the destination rectangle of
// `target` (nothing is drawn when `target` is null) by nearest neighbour.
// The source y counts from the first stored row, so for a bottom-up DIB from
// the bottom. Destination pixels outside the drawable area, or whose source
// lies outside the bitmap, are left alone. Returns how many rows of the
// source rectangle lie in the bitmap.
int stretch_dib8(Surface* target, const Dib8& dib, const BlitRect& dest,
                 const BlitRect& src);

}  // namespace mowa::pf
