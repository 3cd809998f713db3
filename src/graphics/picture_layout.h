// Whether a picture file has the standard form, decided from its info
// header and its size before anything is loaded.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace mowa::graphics {

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

}  // namespace mowa::graphics
