// Locking the image blocks for the length of one call, with the error boxes
// that a failed lock or unlock shows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/graphics.h"

namespace mowa::graphics {

// The block's bytes, or null (after the "GlobalLock" box under `caption`)
// when the lock fails; nothing may be written through a failed lock.
std::uint8_t* lock_image(Graphics& g, pf::Hglobal block, const char* caption);

// Unlocks once. An unlock that returns 0 only failed when the last error
// says so: 0 with no error is the last lock going away.
void unlock_image(Graphics& g, pf::Hglobal block, const char* caption);

// One image block locked for the length of a call: unlocked, once, when the
// guard goes; a failed lock holds nothing and unlocks nothing.
class ImageLock {
 public:
  ImageLock(Graphics& g, pf::Hglobal block, const char* caption)
      : g_(g), block_(block), caption_(caption),
        bytes_(lock_image(g, block, caption)) {}
  ~ImageLock() { unlock(); }
  ImageLock(const ImageLock&) = delete;
  ImageLock& operator=(const ImageLock&) = delete;

  std::uint8_t* bytes() const { return bytes_; }
  explicit operator bool() const { return bytes_ != nullptr; }
  // Unlocks before the guard goes, where the order of the reports matters.
  void unlock() {
    if (bytes_ != nullptr) unlock_image(g_, block_, caption_);
    bytes_ = nullptr;
  }

 private:
  Graphics& g_;
  pf::Hglobal block_;
  const char* caption_;
  std::uint8_t* bytes_;
};

// Start-up's two blocks, each reported under "Program" when it cannot be
// had; teardown frees them and the window palette.
void images_allocate(Graphics& g);
void images_release(Graphics& g);

// The pixel at `column` of stored row `row` (counted from the bottom).
inline std::size_t pixel_offset(std::int64_t column, std::int64_t row) {
  return kPixelOffset + static_cast<std::size_t>(row * kImageWidth + column);
}

inline bool inside_picture(std::int64_t column, std::int64_t row) {
  return column >= 0 && column < kImageWidth && row >= 0 && row < kImageHeight;
}

}  // namespace mowa::graphics
