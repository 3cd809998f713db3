// Windows, the message loop, repaints and device contexts on user32.
//
// Each window of the program keeps its client, at the size the program gave
// it, as a DIB section of its own: GetDC and BeginPaint hand out a memory
// device context on it, so every drawing call lands in the program's picture
// exactly as on a display of that size, and the picture is then shown on the
// real window scaled with square pixels, its aspect kept and without
// smoothing. The display change to the program's mode is that window
// covering its monitor, never a new monitor mode.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/platform.h"

// After the seam: its names are macros in the system headers.
#include <windows.h>

namespace mowa::pf {

class Win32Window final : public WindowService, public IdleWait {
 public:
  explicit Win32Window(HINSTANCE instance) : instance_(instance) {}
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  Word RegisterClassA(const WndClassA* wc) override;
  Hwnd CreateWindowExA(Dword ex_style, const char* class_name,
                       const char* window_name, Dword style, int x, int y,
                       int width, int height, Hwnd parent) override;
  Bool SetWindowPos(Hwnd hwnd, Hwnd insert_after, int x, int y, int cx,
                    int cy, Uint flags) override;
  Bool ShowWindow(Hwnd hwnd, int cmd_show) override;
  Bool PeekMessageA(Msg* msg, Hwnd hwnd, Uint filter_min, Uint filter_max,
                    Uint remove) override;
  Bool TranslateMessage(const Msg* msg) override;
  Lresult DispatchMessageA(const Msg* msg) override;
  Bool PostMessageA(Hwnd hwnd, Uint message, Wparam wparam,
                    Lparam lparam) override;
  void PostQuitMessage(int exit_code) override;
  Lresult DefWindowProcA(Hwnd hwnd, Uint message, Wparam wparam,
                         Lparam lparam) override;
  Bool InvalidateRect(Hwnd hwnd, const Rect* rect, Bool erase) override;
  Bool UpdateWindow(Hwnd hwnd) override;
  Hdc BeginPaint(Hwnd hwnd, PaintStruct* ps) override;
  Bool EndPaint(Hwnd hwnd, const PaintStruct* ps) override;
  Hdc GetDC(Hwnd hwnd) override;
  int ReleaseDC(Hwnd hwnd, Hdc hdc) override;
  void wait_for_input() override;

  // The display is in the program's mode: its window covers the monitor.
  // Otherwise it is a window of its picture's size at the desktop's origin.
  void set_display_fullscreen(bool fullscreen);

 private:
  struct Class {
    WndProc proc = nullptr;
    void* context = nullptr;
  };
  // A window of the program with its picture.
  struct Window {
    Win32Window* owner = nullptr;
    HWND hwnd = nullptr;
    Class cls;
    HDC picture_dc = nullptr;
    HBITMAP picture = nullptr;
    HGDIOBJ old_bitmap = nullptr;
    int picture_width = 0;
    int picture_height = 0;
    PAINTSTRUCT paint{};
    bool painting = false;  // between a BeginPaint that worked and its EndPaint
    int dcs_out = 0;  // device contexts handed out and not yet given back
    bool placed = false;
  };

  static LRESULT CALLBACK thunk(HWND hwnd, UINT message, WPARAM wparam,
                                LPARAM lparam);
  Window* find(Hwnd hwnd);
  // Gives the window a picture of this size (each side 1 at least), what
  // was drawn kept at the top-left; false when none can be made.
  bool make_picture(Window& w, int width, int height);
  void drop_picture(Window& w);
  void present(Window& w);
  void place(Window& w);
  // Maps the pointer from the window's client to the picture.
  LPARAM to_picture(const Window& w, LPARAM lparam) const;
  RECT picture_rect(const Window& w) const;

  HINSTANCE instance_;
  std::map<std::wstring, Class> classes_;
  std::map<HWND, std::unique_ptr<Window>> windows_;
  bool fullscreen_ = false;
  bool toggled_ = false;  // Alt+Enter turned the display mode round
  DWORD idle_wait_ms_ = 1;
};

}  // namespace mowa::pf
