// Where a picture file keeps its colours and pixels, decided from its info
// header and its size before anything is loaded, so that a file that cannot
// be loaded changes nothing.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace mowa::graphics {

inline constexpr std::uint32_t kFileHeaderBytes = 14;
// bfOffBits: where the file header says the pixels start.
inline constexpr std::uint32_t kPixelOffsetField = 10;

enum class PictureForm {
  broken,
  // The form the loader is built for: a 40-byte info header, 640x480,
  // bottom-up, 256 colours straight after it and the pixels at the end of the
  // file. It is read exactly as it stands.
  standard,
  // Another 640x480 8-bit uncompressed file: fewer colours, a top-down
  // picture, a longer info header, or pixels elsewhere than at the end.
  other,
};

// What keeps a picture out, judged from its info header alone.
enum class PictureProblem {
  none,
  info_header,  // an info-header size that is no BITMAPINFOHEADER
  size,         // not 640x480
  bit_count,    // not 8 bits a pixel
  compression,  // not uncompressed
  colours,      // more than 256 colours
};
PictureProblem picture_problem(const pf::BitmapInfoHeader& header);

// Only the standard form and the broken ones can be told apart without the
// file header; `other` means "look at bfOffBits".
// `file_bytes` is INVALID_FILE_SIZE when the size could not be read.
PictureForm picture_form(const pf::BitmapInfoHeader& header,
                         pf::Dword file_bytes);

struct OtherLayout {
  bool loadable = false;
  std::uint32_t table_at = 0;  // file offset of the colour table
  std::uint32_t table_entries = 0;
  std::uint32_t pixels_at = 0;
  bool top_down = false;
};

// The layout of a file of the `other` form whose pixels start at
// `pixels_at`; not loadable when the table and the pixels do not both lie
// inside the file without overlapping.
OtherLayout other_layout(const pf::BitmapInfoHeader& header,
                         pf::Dword file_bytes, pf::Dword pixels_at);

}  // namespace mowa::graphics
