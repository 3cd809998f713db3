#include "graphics/boxes.h"

#include "shell/error_box.h"

namespace mowa::graphics {
namespace {

// The window's device context for one drawing, released and reported under
// the drawing's caption.
class WindowDc {
 public:
  WindowDc(Program& p, const char* caption)
      : p_(p), caption_(caption), hdc_(p.pf.window.GetDC(p.shell.main_window)) {
    if (hdc_ == nullptr) call_failed(p_, caption_, "GetDC");
  }
  ~WindowDc() {
    if (hdc_ != nullptr &&
        p_.pf.window.ReleaseDC(p_.shell.main_window, hdc_) == 0)
      call_failed(p_, caption_, "ReleaseDC");
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  pf::Hdc get() const { return hdc_; }

  void select(pf::Hgdiobj object) {
    if (p_.pf.gdi.SelectObject(hdc_, object) == nullptr)
      call_failed(p_, caption_, "SelectObject");
  }

 private:
  Program& p_;
  const char* caption_;
  pf::Hdc hdc_;
};

void delete_object(Program& p, pf::Hgdiobj object, const char* caption) {
  if (object != nullptr && p.pf.gdi.DeleteObject(object) == pf::kFalse)
    call_failed(p, caption, "DeleteObject");
}

pf::Hpen make_pen(Program& p, std::int32_t colour, const char* caption) {
  const pf::Hpen pen =
      p.pf.gdi.CreatePen(pf::PS_SOLID, 1, static_cast<pf::ColorRef>(colour));
  if (pen == nullptr) call_failed(p, caption, "CreatePen");
  return pen;
}

}  // namespace

void boxfill(Program& p, std::int32_t x1, std::int32_t y1, std::int32_t x2,
             std::int32_t y2, std::int32_t colour) {
  constexpr char kCaption[] = "boxfill";
  p.gfx.repaint = 0;
  const pf::Hpen pen = make_pen(p, colour, kCaption);
  const pf::Hbrush brush =
      p.pf.gdi.CreateSolidBrush(static_cast<pf::ColorRef>(colour));
  // The system's own wording of this report.
  if (brush == nullptr) call_failed(p, kCaption, "CreateDolidBrush");
  {
    WindowDc dc(p, kCaption);
    // Drawing without the pen or the brush of the colour asked for would
    // show another colour, so nothing is drawn then.
    if (dc.get() != nullptr && pen != nullptr && brush != nullptr) {
      dc.select(pen);
      dc.select(brush);
      if (p.pf.gdi.Rectangle(dc.get(), x1, y1, x2, y2) == pf::kFalse)
        call_failed(p, kCaption, "Rectangle");
    }
  }
  delete_object(p, brush, kCaption);
  delete_object(p, pen, kCaption);
}

void box(Program& p, std::int32_t x1, std::int32_t y1, std::int32_t x2,
         std::int32_t y2, std::int32_t colour) {
  constexpr char kCaption[] = "box";
  p.gfx.repaint = 0;
  const pf::Hpen pen = make_pen(p, colour, kCaption);
  {
    WindowDc dc(p, kCaption);
    if (dc.get() != nullptr && pen != nullptr) {
      dc.select(pen);
      pf::GdiService& gdi = p.pf.gdi;
      if (gdi.MoveToEx(dc.get(), x1, y1, nullptr) == pf::kFalse)
        call_failed(p, kCaption, "MoveToEx");
      // Each side leaves out its end point, which the next side draws.
      const pf::Point corners[] = {{x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}};
      for (const pf::Point& corner : corners)
        if (gdi.LineTo(dc.get(), corner.x, corner.y) == pf::kFalse)
          call_failed(p, kCaption, "LineTo");
    }
  }
  delete_object(p, pen, kCaption);
}

}  // namespace mowa::graphics
