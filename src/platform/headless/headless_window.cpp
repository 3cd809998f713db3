#include "platform/headless/headless_window.h"

#include <cstdio>

#include "platform/softgdi/png_io.h"

namespace mowa::pf {
namespace {

// The black screen pictured for a window without a size, as large as
// such pictures have always been.
constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

}  // namespace

bool Presenter::write_shown(const std::string& path, const Surface* surface) {
  if (surface && surface->width() > 0 && surface->height() > 0)
    return write_png(path, *surface);
  return write_png(path, Surface(kScreenWidth, kScreenHeight));
}

void Presenter::present_if_changed(Surface& surface) {
  if (!surface.changed) return;
  surface.changed = false;
  ++frames_;
  log_.event("present").num("frame", static_cast<std::int64_t>(frames_));
  if (frames_dir_.empty()) return;
  char name[32];
  std::snprintf(name, sizeof name, "/frame-%05llu.png",
                static_cast<unsigned long long>(frames_));
  if (!write_shown(frames_dir_ + name, &surface))
    std::fprintf(stderr, "mowa-headless: cannot write %s%s\n",
                 frames_dir_.c_str(), name);
}

HeadlessWindow::HeadlessWindow(Faults& faults, EventLog& log, SoftGdi& gdi,
                               Presenter& presenter)
    : WindowTable(faults, gdi, Closing::kNotifyFirst),
      log_(log),
      presenter_(presenter) {}

void HeadlessWindow::set_input(std::vector<InputEvent> events) {
  input_ = std::move(events);
  next_input_ = 0;
}

void HeadlessWindow::present_if_changed(Hwnd /*hwnd*/, Surface& surface) {
  presenter_.present_if_changed(surface);
}

Dword HeadlessWindow::message_time_ms() const {
  return static_cast<Dword>(log_.now_ms);
}

void HeadlessWindow::queue_due_input() {
  const Hwnd main = main_window();
  while (next_input_ < input_.size() &&
         input_[next_input_].step <= log_.steps) {
    const InputEvent& ev = input_[next_input_++];
    if (!main) continue;
    Msg m{main, WM_NULL, 0, 0, 0, {pointer_x_, pointer_y_}};
    switch (ev.kind) {
      case InputEvent::Kind::kMove:
        pointer_x_ = ev.x;
        pointer_y_ = ev.y;
        m.message = WM_MOUSEMOVE;
        break;
      case InputEvent::Kind::kLeftDown:
        buttons_ |= MK_LBUTTON;
        m.message = WM_LBUTTONDOWN;
        break;
      case InputEvent::Kind::kLeftUp:
        buttons_ &= ~MK_LBUTTON;
        m.message = WM_LBUTTONUP;
        break;
      case InputEvent::Kind::kLeftDouble:
        buttons_ |= MK_LBUTTON;
        m.message = WM_LBUTTONDBLCLK;
        break;
      case InputEvent::Kind::kRightDown:
        buttons_ |= MK_RBUTTON;
        m.message = WM_RBUTTONDOWN;
        break;
      case InputEvent::Kind::kRightUp:
        buttons_ &= ~MK_RBUTTON;
        m.message = WM_RBUTTONUP;
        break;
      case InputEvent::Kind::kRightDouble:
        buttons_ |= MK_RBUTTON;
        m.message = WM_RBUTTONDBLCLK;
        break;
      case InputEvent::Kind::kKey:
        m.message = WM_KEYDOWN;
        m.wParam = static_cast<Wparam>(ev.key);
        break;
      case InputEvent::Kind::kClose:
        m.message = WM_CLOSE;
        break;
    }
    if (m.message >= WM_MOUSEMOVE && m.message <= WM_RBUTTONDBLCLK) {
      m.wParam = buttons_;
      m.lParam = point_param(pointer_x_, pointer_y_);
    }
    m.time = static_cast<Dword>(log_.now_ms);
    queue_message(m);
  }
}

void HeadlessWindow::before_poll() { queue_due_input(); }

}  // namespace mowa::pf
