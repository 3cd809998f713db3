// The Windows backend as one object: the real user32, gdi32, kernel32 and
// winmm behind every service of the seam.
#pragma once

#include <cstdio>

#include "platform/common/faults.h"
#include "platform/platform.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_gdi.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_window.h"

// After the seam: its names are macros in the system headers.
#include <windows.h>

namespace mowa::pf {

class Win32Platform {
 public:
  explicit Win32Platform(HINSTANCE instance, std::FILE* out = stdout)
      : window(instance),
        clock(window),
        display(window),
        platform_(assemble(*this, out)) {}
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  Platform& platform() { return platform_; }

  Faults faults;  // none are injected; the streams ask
  Win32Memory memory;
  Win32Files files{faults};
  Win32Gdi gdi;
  Win32Window window;
  Win32Box box;
  Win32Clock clock;
  Win32Display display;
  Win32Sound sound;

 private:
  Platform platform_;
};

}  // namespace mowa::pf
