// A window service that only records what is posted to it: enough for the
// sound services, which talk to windows through PostMessageA alone.
#pragma once

#include <vector>

#include "platform/window.h"

namespace mowa::test {

class RecordingWindow final : public pf::WindowService {
 public:
  struct Posted {
    pf::Hwnd hwnd;
    pf::Uint message;
    pf::Wparam wparam;
    pf::Lparam lparam;
  };
  std::vector<Posted> posted;

  pf::Bool PostMessageA(pf::Hwnd hwnd, pf::Uint message, pf::Wparam wparam,
                        pf::Lparam lparam) override {
    posted.push_back({hwnd, message, wparam, lparam});
    return pf::kTrue;
  }

  pf::Word RegisterClassA(const pf::WndClassA*) override { return 0; }
  pf::Hwnd CreateWindowExA(pf::Dword, const char*, const char*, pf::Dword, int,
                           int, int, int, pf::Hwnd) override {
    return nullptr;
  }
  pf::Bool SetWindowPos(pf::Hwnd, pf::Hwnd, int, int, int, int,
                        pf::Uint) override {
    return pf::kFalse;
  }
  pf::Bool ShowWindow(pf::Hwnd, int) override { return pf::kFalse; }
  pf::Bool PeekMessageA(pf::Msg*, pf::Hwnd, pf::Uint, pf::Uint,
                        pf::Uint) override {
    return pf::kFalse;
  }
  pf::Bool TranslateMessage(const pf::Msg*) override { return pf::kFalse; }
  pf::Lresult DispatchMessageA(const pf::Msg*) override { return 0; }
  void PostQuitMessage(int) override {}
  pf::Lresult DefWindowProcA(pf::Hwnd, pf::Uint, pf::Wparam,
                             pf::Lparam) override {
    return 0;
  }
  pf::Bool InvalidateRect(pf::Hwnd, const pf::Rect*, pf::Bool) override {
    return pf::kFalse;
  }
  pf::Bool UpdateWindow(pf::Hwnd) override { return pf::kFalse; }
  pf::Hdc BeginPaint(pf::Hwnd, pf::PaintStruct*) override { return nullptr; }
  pf::Bool EndPaint(pf::Hwnd, const pf::PaintStruct*) override {
    return pf::kFalse;
  }
  pf::Hdc GetDC(pf::Hwnd) override { return nullptr; }
  int ReleaseDC(pf::Hwnd, pf::Hdc) override { return 0; }
};

}  // namespace mowa::test
