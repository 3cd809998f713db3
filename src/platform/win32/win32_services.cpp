#include "platform/win32/win32_services.h"

#include <mmsystem.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/win32_text.h"
#include "platform/win32/win32_window.h"

namespace mowa::pf {
namespace {

constexpr Dword kBoxLength = 260;

std::wstring wide(const char* cp932) {
  return cp932 ? cp932_to_wide(cp932) : std::wstring();
}

}  // namespace

int Win32Box::MessageBoxA(Hwnd owner, const char* text, const char* caption,
                          Uint type) {
  const std::wstring wtext = wide(text);
  const std::wstring wcaption = wide(caption);
  std::fprintf(stderr, "mowa: [%s] %s\n", wide_to_utf8(wcaption).c_str(),
               wide_to_utf8(wtext).c_str());
  std::fflush(stderr);
  return ::MessageBoxW(reinterpret_cast<HWND>(owner),
                       text ? wtext.c_str() : nullptr,
                       caption ? wcaption.c_str() : nullptr, type);
}

Bool Win32Display::EnumDisplaySettingsA(const char* device, Dword mode_num,
                                        DevModeA* mode) {
  DEVMODEW dm{};
  dm.dmSize = sizeof dm;
  const std::wstring name = wide(device);
  if (::EnumDisplaySettingsW(device ? name.c_str() : nullptr, mode_num, &dm)) {
    if (mode_num >= listed_) listed_ = mode_num + 1;
    if (dm.dmPelsWidth == 640 && dm.dmPelsHeight == 480) has_640x480_ = true;
  } else {
    // One past the system's list: the desktop's depth at 640x480, when the
    // list lacks it.
    if (device || mode_num != listed_ || has_640x480_) return kFalse;
    DEVMODEW desktop{};
    desktop.dmSize = sizeof desktop;
    if (!::EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &desktop))
      return kFalse;
    dm = desktop;
    dm.dmPelsWidth = 640;
    dm.dmPelsHeight = 480;
  }
  if (mode) {
    *mode = DevModeA{};
    copy_cp932(wide_to_cp932(dm.dmDeviceName), mode->dmDeviceName,
               sizeof mode->dmDeviceName);
    mode->dmFields = dm.dmFields;
    mode->dmBitsPerPel = dm.dmBitsPerPel;
    mode->dmPelsWidth = dm.dmPelsWidth;
    mode->dmPelsHeight = dm.dmPelsHeight;
    mode->dmDisplayFrequency = dm.dmDisplayFrequency;
  }
  return kTrue;
}

Long Win32Display::ChangeDisplaySettingsA(DevModeA* mode, Dword /*flags*/) {
  window_.set_display_fullscreen(mode && mode->dmPelsWidth == 640 &&
                                 mode->dmPelsHeight == 480);
  return DISP_CHANGE_SUCCESSFUL;
}

Bool Win32Sound::PlaySoundA(const char* sound, void* module, Dword flags) {
  if (!sound) return ::PlaySoundW(nullptr, static_cast<HMODULE>(module), flags);
  const std::wstring name = cp932_to_wide(sound);
  return ::PlaySoundW(name.c_str(), static_cast<HMODULE>(module), flags);
}

McError Win32Sound::mciSendStringA(const char* command, char* return_string,
                                   Uint return_length, Hwnd callback) {
  const std::wstring text = wide(command);
  std::vector<wchar_t> answer(return_string && return_length ? return_length
                                                             : 1);
  const MCIERROR r = ::mciSendStringW(
      command ? text.c_str() : nullptr, return_string ? answer.data() : nullptr,
      return_string ? return_length : 0, reinterpret_cast<HWND>(callback));
  if (return_string && return_length)
    copy_cp932(wide_to_cp932(answer.data()), return_string, return_length);
  return r;
}

Bool Win32Sound::mciGetErrorStringA(McError error, char* text, Uint length) {
  if (!text || length == 0) return ::mciGetErrorStringW(error, nullptr, 0);
  std::vector<wchar_t> message(kBoxLength);
  const BOOL ok = ::mciGetErrorStringW(error, message.data(), kBoxLength);
  copy_cp932(ok ? wide_to_cp932(message.data()) : std::string(), text, length);
  return ok;
}

Hglobal Win32Memory::GlobalAlloc(Uint flags, std::size_t bytes) {
  return reinterpret_cast<Hglobal>(::GlobalAlloc(flags, bytes));
}
void* Win32Memory::GlobalLock(Hglobal block) {
  return ::GlobalLock(reinterpret_cast<HGLOBAL>(block));
}
Bool Win32Memory::GlobalUnlock(Hglobal block) {
  return ::GlobalUnlock(reinterpret_cast<HGLOBAL>(block));
}
Hglobal Win32Memory::GlobalFree(Hglobal block) {
  return reinterpret_cast<Hglobal>(
      ::GlobalFree(reinterpret_cast<HGLOBAL>(block)));
}
Hlocal Win32Memory::LocalAlloc(Uint flags, std::size_t bytes) {
  return reinterpret_cast<Hlocal>(::LocalAlloc(flags, bytes));
}
Hlocal Win32Memory::LocalFree(Hlocal block) {
  return reinterpret_cast<Hlocal>(::LocalFree(reinterpret_cast<HLOCAL>(block)));
}

}  // namespace mowa::pf
