#include "graphics/boxes.h"

#include "graphics/repaint_request.h"
#include "graphics/window_dc.h"
#include "report/error_box.h"

namespace mowa::graphics {
namespace {

void select(Graphics& g, pf::Hdc hdc, pf::Hgdiobj object,
            const char* caption) {
  if (g.gdi.SelectObject(hdc, object) == nullptr)
    call_failed(g.report, caption, "SelectObject");
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
  // Given back in the reverse order: the DC, the brush, the pen.
  const DrawingObject pen(g, make_pen(g, colour, kCaption), kCaption);
  const DrawingObject brush(
      g, g.gdi.CreateSolidBrush(static_cast<pf::ColorRef>(colour)), kCaption);
  // Misspelt, and kept so: scenario writers and their players know the box
  // by this text.
  if (!brush) call_failed(g.report, kCaption, "CreateDolidBrush");
  const WindowDc dc(g, kCaption, WindowDc::Release::kOnlyHeld);
  // Drawing without the pen or the brush of the colour asked for would show
  // another colour, so nothing is drawn then.
  if (dc.get() == nullptr || !pen || !brush) return;
  select(g, dc.get(), pen.get(), kCaption);
  select(g, dc.get(), brush.get(), kCaption);
  if (g.gdi.Rectangle(dc.get(), x1, y1, x2, y2) == pf::kFalse)
    call_failed(g.report, kCaption, "Rectangle");
}

void box(Graphics& g, std::int32_t x1, std::int32_t y1, std::int32_t x2,
         std::int32_t y2, std::int32_t colour) {
  constexpr char kCaption[] = "box";
  text_drawn(g);
  const DrawingObject pen(g, make_pen(g, colour, kCaption), kCaption);
  const WindowDc dc(g, kCaption, WindowDc::Release::kOnlyHeld);
  if (dc.get() == nullptr || !pen) return;
  select(g, dc.get(), pen.get(), kCaption);
  pf::GdiService& gdi = g.gdi;
  if (gdi.MoveToEx(dc.get(), x1, y1, nullptr) == pf::kFalse)
    call_failed(g.report, kCaption, "MoveToEx");
  // Each side leaves out its end point, which the next side draws.
  const pf::Point corners[] = {{x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}};
  for (const pf::Point& corner : corners)
    if (gdi.LineTo(dc.get(), corner.x, corner.y) == pf::kFalse)
      call_failed(g.report, kCaption, "LineTo");
}

}  // namespace mowa::graphics
