// Window, message loop, repaint and device-context services.
#pragma once

#include "platform/types.h"

namespace mowa::pf {

class WindowService {
 public:
  virtual ~WindowService() = default;

  // ---- window and loop ----
  // Returns a non-zero atom on success, 0 on failure.
  virtual Word RegisterClassA(const WndClassA* wc) = 0;
  virtual Hwnd CreateWindowExA(Dword ex_style, const char* class_name,
                               const char* window_name, Dword style, int x,
                               int y, int width, int height, Hwnd parent) = 0;
  virtual Bool SetWindowPos(Hwnd hwnd, Hwnd insert_after, int x, int y,
                            int cx, int cy, Uint flags) = 0;
  virtual Bool ShowWindow(Hwnd hwnd, int cmd_show) = 0;
  // Never waits. kFalse when the queue is empty.
  virtual Bool PeekMessageA(Msg* msg, Hwnd hwnd, Uint filter_min,
                            Uint filter_max, Uint remove) = 0;
  virtual Bool TranslateMessage(const Msg* msg) = 0;
  virtual Lresult DispatchMessageA(const Msg* msg) = 0;
  virtual Bool PostMessageA(Hwnd hwnd, Uint message, Wparam wparam,
                            Lparam lparam) = 0;
  virtual void PostQuitMessage(int exit_code) = 0;
  virtual Lresult DefWindowProcA(Hwnd hwnd, Uint message, Wparam wparam,
                                 Lparam lparam) = 0;

  // ---- repaint ----
  // The paint runs inside UpdateWindow, before it returns.
  virtual Bool InvalidateRect(Hwnd hwnd, const Rect* rect, Bool erase) = 0;
  virtual Bool UpdateWindow(Hwnd hwnd) = 0;
  virtual Hdc BeginPaint(Hwnd hwnd, PaintStruct* ps) = 0;
  virtual Bool EndPaint(Hwnd hwnd, const PaintStruct* ps) = 0;

  // ---- device context ----
  // A null window gives the device context of the whole screen.
  virtual Hdc GetDC(Hwnd hwnd) = 0;
  virtual int ReleaseDC(Hwnd hwnd, Hdc hdc) = 0;
};

}  // namespace mowa::pf
