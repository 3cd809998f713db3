// The graphics part: the two packed-DIB images, the palettes, the repaint
// flag, the picture position and the view rectangle, and the services it
// draws, loads and waits with. Only the graphics routines write this state;
// the others go through them (load, fade, sprite, copy, zoom frame, paint,
// "text was drawn").
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"
#include "platform/types.h"
#include "report/error_box.h"

namespace mowa::graphics {

// A packed DIB: header, 256-entry colour table, 640x480 pixels, and a spare
// 100 bytes that nothing addresses.
inline constexpr int kImageWidth = 640;
inline constexpr int kImageHeight = 480;
inline constexpr std::size_t kHeaderBytes = 40;
inline constexpr std::size_t kColourTableOffset = 40;
inline constexpr std::size_t kPixelOffset = 1064;
inline constexpr std::size_t kImageBytes = 308364;

struct FadeEntry {
  float blue = 0, green = 0, red = 0;
};

struct ViewRect {
  std::int32_t width = kImageWidth;
  std::int32_t height = kImageHeight;
  std::int32_t x_offset = 0;
  std::int32_t y_offset = 0;
};

struct Graphics {
  // `main_window` is the shell's handle: null until the window exists.
  Graphics(pf::GdiService& gdi_service, pf::MemoryService& memory_service,
           pf::FileService& file_service, pf::WindowService& window_service,
           pf::ClockService& clock_service, Reporter& reporter,
           const pf::Hwnd& main_window_handle)
      : gdi(gdi_service),
        memory(memory_service),
        files(file_service),
        window(window_service),
        clock(clock_service),
        report(reporter),
        main_window(main_window_handle) {}
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;

  pf::GdiService& gdi;
  pf::MemoryService& memory;
  pf::FileService& files;
  pf::WindowService& window;  // repaint requests and window DCs
  pf::ClockService& clock;    // the pause of each fade step
  Reporter& report;
  const pf::Hwnd& main_window;

  pf::Hglobal screen_image = nullptr;
  pf::Hglobal back_image = nullptr;
  FadeEntry fade_palette[256] = {};
  pf::Hpalette window_palette = nullptr;
  std::uint8_t repaint = 0;
  std::int32_t picture_x = 0;
  std::int32_t picture_y = 0;
  ViewRect view;
};

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
      : g_(g),
        block_(block),
        caption_(caption),
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

class WindowDc {
 public:
  // What a DC that could not be had is given back as.
  enum class Release {
    kOnlyHeld,  // nothing: there is nothing to release
    // the null handle too, whose failed release is reported like any other:
    // the text routines have always done so
    kAlways,
  };

  // GetDC of the main window, reported under `caption`; the release is
  // reported under `release_caption` (null: the same caption).
  WindowDc(Graphics& g, const char* caption, Release release,
           const char* release_caption = nullptr)
      : g_(g),
        release_caption_(release_caption ? release_caption : caption),
        release_(release),
        hdc_(g.window.GetDC(g.main_window)) {
    if (hdc_ == nullptr) call_failed(g_.report, caption, "GetDC");
  }
  ~WindowDc() {
    if (hdc_ == nullptr && release_ == Release::kOnlyHeld) return;
    if (g_.window.ReleaseDC(g_.main_window, hdc_) == 0)
      call_failed(g_.report, release_caption_, "ReleaseDC");
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  pf::Hdc get() const { return hdc_; }

 private:
  Graphics& g_;
  const char* release_caption_;
  Release release_;
  pf::Hdc hdc_;
};

// A pen, brush or font made for one drawing, deleted as the guard goes.
// A null object (its creation failed) is not deleted.
class DrawingObject {
 public:
  DrawingObject(Graphics& g, pf::Hgdiobj object, const char* caption)
      : g_(g), object_(object), caption_(caption) {}
  ~DrawingObject() {
    if (object_ != nullptr && g_.gdi.DeleteObject(object_) == pf::kFalse)
      call_failed(g_.report, caption_, "DeleteObject");
  }
  DrawingObject(const DrawingObject&) = delete;
  DrawingObject& operator=(const DrawingObject&) = delete;

  pf::Hgdiobj get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  Graphics& g_;
  pf::Hgdiobj object_;
  const char* caption_;
};

}  // namespace mowa::graphics
