#include "platform/win32/win32_window.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/win32/win32_text.h"

namespace mowa::pf {
namespace {

// No side of a picture is ever longer: a wild size asked of a window must
// not make an absurd allocation.
constexpr int kLongestPictureSide = 8192;
HWND real(Hwnd hwnd) { return reinterpret_cast<HWND>(hwnd); }
Hwnd ours(HWND hwnd) { return reinterpret_cast<Hwnd>(hwnd); }
HDC real(Hdc hdc) { return reinterpret_cast<HDC>(hdc); }
Hdc ours(HDC hdc) { return reinterpret_cast<Hdc>(hdc); }

// A black top-down 32-bit DIB section.
HBITMAP black_picture(HDC dc, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

}  // namespace

Win32Window::~Win32Window() {
  for (auto& [hwnd, w] : windows_) drop_picture(*w);
}

Word Win32Window::RegisterClassA(const WndClassA* wc) {
  if (!wc || !wc->lpszClassName) return 0;
  const std::wstring name = cp932_to_wide(wc->lpszClassName);
  WNDCLASSEXW c{};
  c.cbSize = sizeof c;
  c.style = wc->style;
  c.lpfnWndProc = thunk;
  c.hInstance = instance_;
  c.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  c.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  c.lpszClassName = name.c_str();
  const ATOM atom = RegisterClassExW(&c);
  if (atom) classes_[name] = Class{wc->lpfnWndProc, wc->context};
  return atom;
}

bool Win32Window::make_picture(Window& w, int width, int height) {
  width = std::clamp(width, 1, kLongestPictureSide);
  height = std::clamp(height, 1, kLongestPictureSide);
  if (w.picture && width == w.picture_width && height == w.picture_height)
    return true;
  if (!w.picture_dc) w.picture_dc = CreateCompatibleDC(nullptr);
  if (!w.picture_dc) return false;
  const HBITMAP fresh = black_picture(w.picture_dc, width, height);
  if (!fresh) return false;
  if (!w.picture) {
    w.old_bitmap = SelectObject(w.picture_dc, fresh);
  } else {
    // What is drawn stays at the top-left of the new size.
    if (const HDC copy = CreateCompatibleDC(w.picture_dc)) {
      const HGDIOBJ before = SelectObject(copy, fresh);
      BitBlt(copy, 0, 0, std::min(width, w.picture_width),
             std::min(height, w.picture_height), w.picture_dc, 0, 0, SRCCOPY);
      SelectObject(copy, before);
      DeleteDC(copy);
    }
    SelectObject(w.picture_dc, fresh);
    DeleteObject(w.picture);
  }
  w.picture = fresh;
  w.picture_width = width;
  w.picture_height = height;
  return true;
}

void Win32Window::drop_picture(Window& w) {
  if (!w.picture_dc) return;
  if (w.picture) {
    SelectObject(w.picture_dc, w.old_bitmap);
    DeleteObject(w.picture);
  }
  DeleteDC(w.picture_dc);
  w.picture_dc = nullptr;
  w.picture = nullptr;
}

Hwnd Win32Window::CreateWindowExA(Dword ex_style, const char* class_name,
                                  const char* window_name, Dword style, int x,
                                  int y, int width, int height, Hwnd parent) {
  if (!class_name) return nullptr;
  const std::wstring cls = cp932_to_wide(class_name);
  const auto found = classes_.find(cls);
  if (found == classes_.end()) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  auto w = std::make_unique<Window>();
  w->owner = this;
  w->cls = found->second;
  if (!make_picture(*w, width, height)) {
    drop_picture(*w);
    return nullptr;
  }
  const std::wstring title = cp932_to_wide(window_name ? window_name : "");
  const HWND hwnd =
      CreateWindowExW(ex_style, cls.c_str(), title.c_str(), style, x, y, width,
                      height, real(parent), nullptr, instance_, w.get());
  if (!hwnd) {
    drop_picture(*w);
    return nullptr;
  }
  windows_[hwnd] = std::move(w);
  return ours(hwnd);
}

Win32Window::Window* Win32Window::find(Hwnd hwnd) {
  const auto it = windows_.find(real(hwnd));
  return it == windows_.end() ? nullptr : it->second.get();
}

RECT Win32Window::picture_rect(const Window& w) const {
  RECT client{};
  GetClientRect(w.hwnd, &client);
  const long cw = std::max(client.right - client.left, 1L);
  const long ch = std::max(client.bottom - client.top, 1L);
  const long pw = w.picture_width, ph = w.picture_height;
  long dw = cw, dh = ch;
  if (cw * ph <= ch * pw)
    dh = cw * ph / pw;
  else
    dw = ch * pw / ph;
  // Whole multiples, as the reader may choose: the largest that fits.
  if (settings_.whole_multiples) {
    const long times = std::max(std::min(cw / pw, ch / ph), 1L);
    dw = pw * times;
    dh = ph * times;
  }
  const long left = (cw - dw) / 2, top = (ch - dh) / 2;
  return RECT{left, top, left + dw, top + dh};
}

LPARAM Win32Window::to_picture(const Window& w, LPARAM lparam) const {
  const RECT r = picture_rect(w);
  const long dw = std::max(r.right - r.left, 1L);
  const long dh = std::max(r.bottom - r.top, 1L);
  const long pw = w.picture_width, ph = w.picture_height;
  const long x =
      std::clamp((GET_X_LPARAM(lparam) - r.left) * pw / dw, 0L, pw - 1);
  const long y =
      std::clamp((GET_Y_LPARAM(lparam) - r.top) * ph / dh, 0L, ph - 1);
  return MAKELPARAM(x, y);
}

void Win32Window::present(Window& w) {
  if (!w.hwnd || !IsWindowVisible(w.hwnd)) return;
  const HDC dc = ::GetDC(w.hwnd);
  if (!dc) return;
  const RECT r = picture_rect(w);
  RECT client{};
  GetClientRect(w.hwnd, &client);
  const auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  const RECT bars[] = {{0, 0, client.right, r.top},
                       {0, r.bottom, client.right, client.bottom},
                       {0, r.top, r.left, r.bottom},
                       {r.right, r.top, client.right, r.bottom}};
  for (const RECT& bar : bars)
    if (bar.right > bar.left && bar.bottom > bar.top) FillRect(dc, &bar, black);
  const int dw = r.right - r.left, dh = r.bottom - r.top;
  if (dw == w.picture_width && dh == w.picture_height) {
    BitBlt(dc, r.left, r.top, dw, dh, w.picture_dc, 0, 0, SRCCOPY);
  } else {
    // Nearest neighbour: every picture pixel stays one sharp block.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, r.left, r.top, dw, dh, w.picture_dc, 0, 0, w.picture_width,
               w.picture_height, SRCCOPY);
  }
  draw_marks(dc, r);
  ::ReleaseDC(w.hwnd, dc);
}

void Win32Window::place(Window& w) {
  // Alt+Enter turns the display mode's choice around.
  const bool cover = fullscreen_ != toggled_;
  RECT r{0, 0, w.picture_width, w.picture_height};
  if (cover) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromWindow(w.hwnd, MONITOR_DEFAULTTOPRIMARY),
                        &info))
      r = info.rcMonitor;
  }
  ::SetWindowPos(w.hwnd, HWND_TOPMOST, r.left, r.top, r.right - r.left,
                 r.bottom - r.top, SWP_NOACTIVATE);
  ::InvalidateRect(w.hwnd, nullptr, FALSE);
}

void Win32Window::set_display_fullscreen(bool fullscreen) {
  fullscreen_ = fullscreen;
  toggled_ = false;
  for (auto& [hwnd, w] : windows_)
    if (w->placed) place(*w);
}

Bool Win32Window::SetWindowPos(Hwnd hwnd, Hwnd insert_after, int x, int y,
                               int cx, int cy, Uint flags) {
  Window* w = find(hwnd);
  if (!w)
    return ::SetWindowPos(real(hwnd), real(insert_after), x, y, cx, cy, flags);
  w->placed = true;
  // The picture takes the client size the program asks for. While a device
  // context on it is out, the saved state of that context holds the old
  // bitmap, so the picture keeps its size until the next placing.
  if (!(flags & SWP_NOSIZE) && w->dcs_out == 0 && !w->painting)
    make_picture(*w, cx, cy);
  if (fullscreen_ != toggled_) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromWindow(w->hwnd, MONITOR_DEFAULTTOPRIMARY),
                        &info)) {
      x = info.rcMonitor.left;
      y = info.rcMonitor.top;
      cx = info.rcMonitor.right - info.rcMonitor.left;
      cy = info.rcMonitor.bottom - info.rcMonitor.top;
    }
  }
  return ::SetWindowPos(w->hwnd, real(insert_after), x, y, cx, cy, flags);
}

Bool Win32Window::ShowWindow(Hwnd hwnd, int cmd_show) {
  return ::ShowWindow(real(hwnd), cmd_show);
}

Bool Win32Window::InvalidateRect(Hwnd hwnd, const Rect* rect, Bool erase) {
  if (!rect) return ::InvalidateRect(real(hwnd), nullptr, erase);
  const RECT r{rect->left, rect->top, rect->right, rect->bottom};
  return ::InvalidateRect(real(hwnd), &r, erase);
}

Bool Win32Window::UpdateWindow(Hwnd hwnd) { return ::UpdateWindow(real(hwnd)); }

Hdc Win32Window::BeginPaint(Hwnd hwnd, PaintStruct* ps) {
  Window* w = find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (w->painting || !::BeginPaint(w->hwnd, &w->paint)) return nullptr;
  w->painting = true;
  SaveDC(w->picture_dc);
  ++w->dcs_out;
  if (ps) {
    ps->hdc = ours(w->picture_dc);
    ps->fErase = w->paint.fErase;
    // The paint's area in the picture's own coordinates: all of it, since
    // the picture is always drawn whole.
    ps->rcPaint = Rect{0, 0, w->picture_width, w->picture_height};
  }
  return ours(w->picture_dc);
}

Bool Win32Window::EndPaint(Hwnd hwnd, const PaintStruct* /*ps*/) {
  Window* w = find(hwnd);
  if (!w || !w->painting) return kFalse;
  w->painting = false;
  RestoreDC(w->picture_dc, -1);
  --w->dcs_out;
  const BOOL ended = ::EndPaint(w->hwnd, &w->paint);
  present(*w);
  return ended;
}

Hdc Win32Window::GetDC(Hwnd hwnd) {
  if (!hwnd) return ours(::GetDC(nullptr));
  Window* w = find(hwnd);
  if (!w) return ours(::GetDC(real(hwnd)));
  if (!SaveDC(w->picture_dc)) return nullptr;
  ++w->dcs_out;
  return ours(w->picture_dc);
}

int Win32Window::ReleaseDC(Hwnd hwnd, Hdc hdc) {
  Window* w = hwnd ? find(hwnd) : nullptr;
  if (!w || real(hdc) != w->picture_dc)
    return ::ReleaseDC(real(hwnd), real(hdc));
  if (w->dcs_out <= 0) return 0;
  RestoreDC(w->picture_dc, -1);
  --w->dcs_out;
  present(*w);
  return 1;
}

}  // namespace mowa::pf
