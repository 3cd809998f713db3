#include "graphics/repaint_request.h"

#include "shell/error_box.h"

namespace mowa::graphics {

void request_repaint(Program& p, const char* caption) {
  const pf::Hwnd main = p.shell.main_window;
  if (p.pf.window.InvalidateRect(main, nullptr, pf::kFalse) == pf::kFalse)
    call_failed(p, caption, "InvalidateRect");
  if (p.pf.window.UpdateWindow(main) == pf::kFalse)
    call_failed(p, caption, "UpdateWindow");
}

}  // namespace mowa::graphics
