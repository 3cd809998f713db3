// The BMP decoder alone, on the file's bytes. A picture it accepts stays
// within 640x480 with an index for every pixel and at most 256 colours, and
// bytes after the end of a file it accepts change nothing; a file it
// refuses leaves no picture behind.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz_check.h"
#include "graphics/bmp_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using mowa::fuzz::require;
  namespace bmp = mowa::bmp;
  const bmp::Decoded d = bmp::decode({data, size});
  const bmp::IndexedPicture& p = d.picture;
  if (d.refusal != bmp::Refusal::none) {
    require(
        p.width == 0 && p.height == 0 && p.indices.empty() && p.colours.empty(),
        "a refused file left a picture");
    return 0;
  }
  require(p.width >= 1 && p.width <= bmp::kMaxWidth, "width out of range");
  require(p.height >= 1 && p.height <= bmp::kMaxHeight, "height out of range");
  require(p.indices.size() == static_cast<std::size_t>(p.width) * p.height,
          "not one index a pixel");
  require(p.colours.size() <= 256, "more than 256 colours");

  std::vector<std::uint8_t> longer(data, data + size);
  longer.insert(longer.end(), {0x00, 0x01, 0xFF, 0x00, 0x02, 0x7F, 0x80});
  const bmp::Decoded again = bmp::decode(longer);
  require(again.refusal == bmp::Refusal::none &&
              again.picture.width == p.width &&
              again.picture.height == p.height &&
              again.picture.indices == p.indices &&
              again.picture.colours.size() == p.colours.size(),
          "bytes past the end changed the picture");
  for (std::size_t i = 0; i < p.colours.size(); ++i) {
    const bmp::Colour a = p.colours[i], b = again.picture.colours[i];
    require(a.red == b.red && a.green == b.green && a.blue == b.blue,
            "bytes past the end changed a colour");
  }
  return 0;
}
