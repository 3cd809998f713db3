// The smaller services on user32, kernel32 and winmm, each call passing its
// arguments and its failure value through.
#pragma once

#include <ctime>

#include "platform/platform.h"

// After the seam: its names are macros in the system headers.
#include <windows.h>

namespace mowa::pf {

class Win32Window;

// Every box is also written to standard error in UTF-8, "mowa: [caption]
// text", so that a box can be read where no one looks at the screen.
class Win32Box final : public BoxService {
 public:
  int MessageBoxA(Hwnd owner, const char* text, const char* caption,
                  Uint type) override;
};

// Sleeps a tenth of the time while the window's fast-forward is on.
class Win32Clock final : public ClockService {
 public:
  explicit Win32Clock(Win32Window& window) : window_(window) {}
  void Sleep(Dword delay_ms) override;
  std::int64_t time_seconds() override {
    return static_cast<std::int64_t>(std::time(nullptr));
  }

 private:
  Win32Window& window_;
};

// The modes as EnumDisplaySettings lists them, and a 640x480 mode of the
// desktop's depth after them when the monitor has none, since that mode is
// only ever shown as a window covering the monitor. A change is never made
// on the monitor: 640x480 covers it with the program's window, any other
// mode brings the desktop back.
class Win32Display final : public DisplayService {
 public:
  explicit Win32Display(Win32Window& window) : window_(window) {}
  Bool EnumDisplaySettingsA(const char* device, Dword mode_num,
                            DevModeA* mode) override;
  Long ChangeDisplaySettingsA(DevModeA* mode, Dword flags) override;

 private:
  Win32Window& window_;
  Dword listed_ = 0;  // modes the system listed before the first failure
  bool has_640x480_ = false;
};

class Win32Sound final : public SoundService {
 public:
  Bool PlaySoundA(const char* sound, void* module, Dword flags) override;
  McError mciSendStringA(const char* command, char* return_string,
                         Uint return_length, Hwnd callback) override;
  Bool mciGetErrorStringA(McError error, char* text, Uint length) override;
};

class Win32Memory final : public MemoryService {
 public:
  Hglobal GlobalAlloc(Uint flags, std::size_t bytes) override;
  void* GlobalLock(Hglobal block) override;
  Bool GlobalUnlock(Hglobal block) override;
  Hglobal GlobalFree(Hglobal block) override;
  Hlocal LocalAlloc(Uint flags, std::size_t bytes) override;
  Hlocal LocalFree(Hlocal block) override;
  Dword GetLastError() override { return ::GetLastError(); }
  void SetLastError(Dword error) override { ::SetLastError(error); }
};

}  // namespace mowa::pf
