// The words of the box that refuses a picture or sprite file, one %s for
// its name.
#pragma once

#include "graphics/bmp_decode.h"

namespace mowa::graphics {

enum class FileUse { picture, sprite };

const char* refusal_format(bmp::Refusal why, FileUse use);

}  // namespace mowa::graphics
