// Loading BMP pictures into the image blocks: the blocks themselves, the
// form of a picture file, the boxes that refuse one, and the colour-table
// routines.
#pragma once

#include <cstdint>

#include "graphics/bmp_decode.h"
#include "graphics/graphics.h"
#include "platform/types.h"

namespace mowa::graphics {

// Reads a 640x480 palette BMP file into the screen image (destination 0) or
// the back image (1) and rebuilds the fade and window palettes; any other
// file is refused with a box that says why.
void opendib(Graphics& g, const char* file, std::int32_t x, std::int32_t y,
             int destination);
// `gload`: mode 0 loads the screen image and shows its colours, 1 loads it
// keeping the colours shown, 2 loads the back image and shows its colours;
// any other mode loads nothing. The paint is asked for in every case.
void gload(Graphics& g, const char* file, std::int32_t x, std::int32_t y,
           std::int32_t mode);
// Clears the screen image's colour table to black.
void palette_black(Graphics& g);
// Writes the fade palette's colours into the screen image's colour table.
void palette_show(Graphics& g);

inline constexpr std::uint32_t kFileHeaderBytes = 14;

enum class PictureForm {
  // The form the loader is built for: a 40-byte info header, 640x480,
  // bottom-up, 8 bits, uncompressed, 256 colours straight after it and the
  // pixels at the end of the file. It is read exactly as it stands.
  standard,
  // Anything else: decoded from the whole file, or refused with the reason.
  other,
};

// `file_bytes` is INVALID_FILE_SIZE when the size could not be read.
PictureForm picture_form(const pf::BitmapInfoHeader& header,
                         pf::Dword file_bytes);

enum class FileUse { picture, sprite };

const char* refusal_format(bmp::Refusal why, FileUse use);

}  // namespace mowa::graphics
