#include "platform/win32/win32_window.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/win32/win32_text.h"

namespace mowa::pf {
namespace {

// No side of a picture is ever longer: a wild size asked of a window must
// not make an absurd allocation.
constexpr int kLongestPictureSide = 8192;
// The idle wait wakes by itself this often all the same; it costs nothing
// measurable and keeps a lost wake-up from stalling the program.
constexpr DWORD kIdleWaitGuardMs = 500;
// A release waits until this many statements have run since its press, and
// this long: a press as short as a tap lasts as long as a brisk click.
constexpr int kStatementsSeeingPress = 8;
constexpr DWORD kShortestPress_ms = 50;

HWND real(Hwnd hwnd) { return reinterpret_cast<HWND>(hwnd); }
Hwnd ours(HWND hwnd) { return reinterpret_cast<Hwnd>(hwnd); }
HDC real(Hdc hdc) { return reinterpret_cast<HDC>(hdc); }
Hdc ours(HDC hdc) { return reinterpret_cast<Hdc>(hdc); }

void to_msg(const MSG& m, Msg* msg) {
  msg->hwnd = ours(m.hwnd);
  msg->message = m.message;
  msg->wParam = m.wParam;
  msg->lParam = m.lParam;
  msg->time = m.time;
  msg->pt = Point{m.pt.x, m.pt.y};
}

MSG from_msg(const Msg& msg) {
  MSG m{};
  m.hwnd = real(msg.hwnd);
  m.message = msg.message;
  m.wParam = msg.wParam;
  m.lParam = msg.lParam;
  m.time = msg.time;
  m.pt = POINT{msg.pt.x, msg.pt.y};
  return m;
}

bool is_pointer_message(UINT message) {
  return message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK;
}

bool is_press(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK ||
         message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK ||
         message == WM_MBUTTONDOWN || message == WM_MBUTTONDBLCLK;
}

bool is_release(UINT message) {
  return message == WM_LBUTTONUP || message == WM_RBUTTONUP ||
         message == WM_MBUTTONUP;
}

// The button flag (MK_*) a button message is about, 0 for other messages.
WPARAM button_of(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return MK_LBUTTON;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return MK_RBUTTON;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      return MK_MBUTTON;
    default:
      return 0;
  }
}

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

Bool Win32Window::PeekMessageA(Msg* msg, Hwnd hwnd, Uint filter_min,
                               Uint filter_max, Uint remove) {
  MSG m{};
  // A press and its release often arrive together (a quick click, a tap),
  // yet the program reads the buttons only between statements, and a poll
  // that finds nothing is the moment a statement runs: the release waits as
  // long as a short press would last, and until a few statements have run,
  // so that a click-wait loop reads the press whatever statement it was on.
  if (press_unseen_ && statements_since_press_ >= kStatementsSeeingPress &&
      GetTickCount() - press_taken_ms_ >= kShortestPress_ms)
    press_unseen_ = false;
  const bool held =
      press_unseen_ &&
      ::PeekMessageW(&m, real(hwnd), filter_min, filter_max, PM_NOREMOVE) &&
      is_release(m.message);
  if (held || !::PeekMessageW(&m, real(hwnd), filter_min, filter_max, remove)) {
    if (press_unseen_) ++statements_since_press_;
    return kFalse;
  }
  if ((remove & PM_REMOVE) && is_press(m.message)) {
    press_unseen_ = true;
    statements_since_press_ = 0;
    press_taken_ms_ = GetTickCount();
  }
  if (msg) to_msg(m, msg);
  return kTrue;
}

Bool Win32Window::TranslateMessage(const Msg* msg) {
  if (!msg) return kFalse;
  const MSG m = from_msg(*msg);
  return ::TranslateMessage(&m);
}

Lresult Win32Window::DispatchMessageA(const Msg* msg) {
  if (!msg) return 0;
  const MSG m = from_msg(*msg);
  return ::DispatchMessageW(&m);
}

Bool Win32Window::PostMessageA(Hwnd hwnd, Uint message, Wparam wparam,
                               Lparam lparam) {
  return ::PostMessageW(real(hwnd), message, wparam, lparam);
}

void Win32Window::PostQuitMessage(int exit_code) {
  ::PostQuitMessage(exit_code);
}

Lresult Win32Window::DefWindowProcA(Hwnd hwnd, Uint message, Wparam wparam,
                                    Lparam lparam) {
  return ::DefWindowProcW(real(hwnd), message, wparam, lparam);
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

void Win32Window::wait_for_input() {
  // Sleeps while a scenario polls an unchanged mouse until a message comes:
  // input, a paint, or the notification of a sequence played to its end.
  // A message already in the queue, seen or not, returns at once.
  MsgWaitForMultipleObjectsEx(0, nullptr, kIdleWaitGuardMs, QS_ALLINPUT,
                              MWMO_INPUTAVAILABLE);
}

void Win32Window::release_lost_buttons(HWND hwnd) {
  static constexpr struct {
    WPARAM flag;
    int key;
    UINT release;
  } kButtons[] = {{MK_LBUTTON, VK_LBUTTON, WM_LBUTTONUP},
                  {MK_RBUTTON, VK_RBUTTON, WM_RBUTTONUP},
                  {MK_MBUTTON, VK_MBUTTON, WM_MBUTTONUP}};
  for (const auto& b : kButtons) {
    if (!(buttons_down_ & b.flag) || (GetAsyncKeyState(b.key) & 0x8000))
      continue;
    buttons_down_ &= ~b.flag;
    ::PostMessageW(hwnd, b.release, buttons_down_, 0);
  }
}

LRESULT CALLBACK Win32Window::thunk(HWND hwnd, UINT message, WPARAM wparam,
                                    LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* w = static_cast<Window*>(create->lpCreateParams);
    w->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
  }
  auto* w = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!w || !w->cls.proc) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (const WPARAM button = button_of(message)) {
    if (is_release(message)) {
      w->owner->buttons_down_ &= ~button;
    } else {
      w->owner->buttons_down_ |= button;
      w->owner->reader_clicked(*w);
    }
  }
  switch (message) {
    case WM_ENABLE:
      if (wparam) w->owner->release_lost_buttons(hwnd);
      break;
    case WM_KEYDOWN:
      if (w->owner->reader_key(*w, wparam, (lparam & (1L << 30)) != 0))
        return 0;
      break;
    case WM_TIMER:
      if (w->owner->note_timer(*w, wparam)) return 0;
      break;
    case WM_SYSKEYDOWN:
      // F10 comes as a system key: it would open the (absent) menu.
      if (wparam == VK_F10 &&
          w->owner->reader_key(*w, wparam, (lparam & (1L << 30)) != 0))
        return 0;
      if (wparam == VK_RETURN && (lparam & (1L << 29))) {
        w->owner->toggled_ = !w->owner->toggled_;
        if (w->placed) w->owner->place(*w);
        return 0;
      }
      break;
    case WM_SYSCHAR:
      if (wparam == '\r') return 0;  // no beep for Alt+Enter
      break;
    case WM_SYSCOMMAND:
      // The window has no menu: Alt alone must not open a menu loop that
      // would take the next key, Escape included.
      if ((wparam & 0xFFF0) == SC_KEYMENU) return 0;
      break;
    case WM_ERASEBKGND:
      return 1;  // every present paints the whole client, bars included
    case WM_SIZE:
      ::InvalidateRect(hwnd, nullptr, FALSE);
      break;
    default:
      if (is_pointer_message(message))
        lparam = w->owner->to_picture(*w, lparam);
      break;
  }
  return static_cast<LRESULT>(
      w->cls.proc(w->cls.context, ours(hwnd), message, wparam, lparam));
}

}  // namespace mowa::pf
