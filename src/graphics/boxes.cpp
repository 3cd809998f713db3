#include "graphics/boxes.h"

#include "graphics/repaint_request.h"
#include "report/error_box.h"

namespace mowa::graphics {
namespace {

// The window's device context for one drawing, released and reported under
// the drawing's caption.
class WindowDc {
 public:
  WindowDc(Graphics& g, const char* caption)
      : g_(g), caption_(caption), hdc_(g.window.GetDC(g.main_window)) {
    if (hdc_ == nullptr) call_failed(g_.report, caption_, "GetDC");
  }
  ~WindowDc() {
    if (hdc_ != nullptr &&
        g_.window.ReleaseDC(g_.main_window, hdc_) == 0)
      call_failed(g_.report, caption_, "ReleaseDC");
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  pf::Hdc get() const { return hdc_; }

  void select(pf::Hgdiobj object) {
    if (g_.gdi.SelectObject(hdc_, object) == nullptr)
      call_failed(g_.report, caption_, "SelectObject");
  }

 private:
  Graphics& g_;
  const char* caption_;
  pf::Hdc hdc_;
};

void delete_object(Graphics& g, pf::Hgdiobj object, const char* caption) {
  if (object != nullptr && g.gdi.DeleteObject(object) == pf::kFalse)
    call_failed(g.report, caption, "DeleteObject");
}

pf::Hpen make_pen(Graphics& g, std::int32_t colour, const char* caption) {
  const pf::Hpen pen =
      g.gdi.CreatePen(pf::PS_SOLID, 1, static_cast<pf::ColorRef>(colour));
  if (pen == nullptr) call_failed(g.report, caption, "CreatePen");
  return pen;
}

}  // namespace

void boxfill(Graphics& g, std::int32_t x1, std::int32_t y1, std::int32_t x2,
             std::int32_t y2, std::int32_t colour) {
  constexpr char kCaption[] = "boxfill";
  text_drawn(g);
  const pf::Hpen pen = make_pen(g, colour, kCaption);
  const pf::Hbrush brush =
      g.gdi.CreateSolidBrush(static_cast<pf::ColorRef>(colour));
  // The system's own wording of this report.
  if (brush == nullptr) call_failed(g.report, kCaption, "CreateDolidBrush");
  {
    WindowDc dc(g, kCaption);
    // Drawing without the pen or the brush of the colour asked for would
    // show another colour, so nothing is drawn then.
    if (dc.get() != nullptr && pen != nullptr && brush != nullptr) {
      dc.select(pen);
      dc.select(brush);
      if (g.gdi.Rectangle(dc.get(), x1, y1, x2, y2) == pf::kFalse)
        call_failed(g.report, kCaption, "Rectangle");
    }
  }
  delete_object(g, brush, kCaption);
  delete_object(g, pen, kCaption);
}

void box(Graphics& g, std::int32_t x1, std::int32_t y1, std::int32_t x2,
         std::int32_t y2, std::int32_t colour) {
  constexpr char kCaption[] = "box";
  text_drawn(g);
  const pf::Hpen pen = make_pen(g, colour, kCaption);
  {
    WindowDc dc(g, kCaption);
    if (dc.get() != nullptr && pen != nullptr) {
      dc.select(pen);
      pf::GdiService& gdi = g.gdi;
      if (gdi.MoveToEx(dc.get(), x1, y1, nullptr) == pf::kFalse)
        call_failed(g.report, kCaption, "MoveToEx");
      // Each side leaves out its end point, which the next side draws.
      const pf::Point corners[] = {{x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}};
      for (const pf::Point& corner : corners)
        if (gdi.LineTo(dc.get(), corner.x, corner.y) == pf::kFalse)
          call_failed(g.report, kCaption, "LineTo");
    }
  }
  delete_object(g, pen, kCaption);
}

}  // namespace mowa::graphics
