// The graphics part: the two packed-DIB images, the palettes, the repaint
// flag, the picture position and the view rectangle, and the services it
// draws, loads and waits with. Only the graphics routines write this state;
// the others go through them (load, fade, sprite, copy, zoom frame, paint,
// "text was drawn").
#pragma once

#include <cstdint>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/gdi.h"
#include "platform/memory.h"
#include "platform/types.h"
#include "platform/window.h"
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

}  // namespace mowa::graphics
