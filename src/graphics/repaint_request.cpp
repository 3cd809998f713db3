#include "graphics/repaint_request.h"

#include "graphics/composition.h"
#include "report/error_box.h"

namespace mowa::graphics {

void request_repaint(Graphics& g, const char* caption) {
  const bool invalidated =
      g.window.InvalidateRect(g.main_window, nullptr, pf::kFalse) != pf::kFalse;
  if (!invalidated && caption != nullptr)
    call_failed(g.report, caption, "InvalidateRect");
  const bool updated = g.window.UpdateWindow(g.main_window) != pf::kFalse;
  if (!updated && caption != nullptr)
    call_failed(g.report, caption, "UpdateWindow");
}

void text_drawn(Graphics& g) { g.repaint = 0; }

void paint(Graphics& g, pf::Hdc hdc) {
  if (g.window_palette) {
    g.gdi.SelectPalette(hdc, g.window_palette, pf::kFalse);
    g.gdi.RealizePalette(hdc);
  }
  if (g.repaint == 1) showdib(g, hdc, g.screen_image);
  g.repaint = 0;
}

void zoom_frame(Graphics& g, const ViewRect& view, const char* caption) {
  g.view = view;
  g.repaint = 1;
  request_repaint(g, caption);
}

}  // namespace mowa::graphics
