#include "shell/program.h"

#include "graphics/composition.h"
#include "report/error_box.h"
#include "report/texts.h"
#include "sound/sound.h"

namespace mowa::shell {
namespace {

void on_paint(Program& p, pf::Hwnd hwnd) {
  pf::PaintStruct ps{};
  const pf::Hdc hdc = p.pf.window.BeginPaint(hwnd, &ps);
  graphics::paint(p.gfx, hdc);
  p.pf.window.EndPaint(hwnd, &ps);
}

}  // namespace

pf::Lresult window_proc(void* context, pf::Hwnd hwnd, pf::Uint message,
                        pf::Wparam wparam, pf::Lparam lparam) {
  Program& p = *static_cast<Program*>(context);
  Mouse& mouse = p.shell.mouse;
  switch (message) {
    case pf::WM_DESTROY:
      error_box(p.report, texts::kFarewellCaption, texts::kFarewell);
      display_mode(p, 1);
      p.pf.window.PostQuitMessage(0);
      return 0;
    case pf::WM_PAINT:
      on_paint(p, hwnd);
      return 0;
    case pf::WM_KEYDOWN:
      if (wparam == pf::VK_ESCAPE)
        p.pf.window.PostMessageA(hwnd, pf::WM_DESTROY, 0, 0);
      return 0;
    case pf::WM_MOUSEMOVE:
      mouse.x = static_cast<std::int32_t>(lparam & 0xFFFF);
      mouse.y = static_cast<std::int32_t>((lparam >> 16) & 0xFFFF);
      return 0;
    case pf::WM_LBUTTONDOWN:
    case pf::WM_LBUTTONDBLCLK:
      mouse.left = 1;
      return 0;
    case pf::WM_LBUTTONUP:
      mouse.left = 0;
      return 0;
    case pf::WM_RBUTTONDOWN:
    case pf::WM_RBUTTONDBLCLK:
      mouse.right = 1;
      return 0;
    case pf::WM_RBUTTONUP:
      mouse.right = 0;
      return 0;
    case pf::MM_MCINOTIFY:
      if (wparam == pf::MCI_NOTIFY_SUCCESSFUL) sound::replay_midi(p.sound);
      return 0;
    default:
      return p.pf.window.DefWindowProcA(hwnd, message, wparam, lparam);
  }
}

}  // namespace mowa::shell
