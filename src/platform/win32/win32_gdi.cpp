#include "platform/win32/win32_gdi.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/win32/win32_text.h"

namespace mowa::pf {
namespace {

HDC real(Hdc hdc) { return reinterpret_cast<HDC>(hdc); }
HGDIOBJ real(Hgdiobj o) { return reinterpret_cast<HGDIOBJ>(o); }
Hgdiobj ours(HGDIOBJ o) { return reinterpret_cast<Hgdiobj>(o); }

struct FaceSearch {
  const wchar_t* face = nullptr;  // null: any Shift-JIS family
  std::wstring fixed;             // the first monospaced one found
  std::wstring any;               // the first of any pitch
};

int CALLBACK on_family(const LOGFONTW* lf, const TEXTMETRICW* /*tm*/,
                       DWORD /*type*/, LPARAM context) {
  auto& search = *reinterpret_cast<FaceSearch*>(context);
  if (lf->lfFaceName[0] == L'@') return 1;  // a family for vertical writing
  if (search.any.empty()) search.any = lf->lfFaceName;
  if ((lf->lfPitchAndFamily & 3) == FIXED_PITCH) {
    search.fixed = lf->lfFaceName;
    return 0;
  }
  return 1;
}

}  // namespace

Hpalette Win32Gdi::CreatePalette(const LogPalette* palette) {
  // The seam's LOGPALETTE has the layout of the system's.
  return ours(::CreatePalette(reinterpret_cast<const LOGPALETTE*>(palette)));
}

Hpalette Win32Gdi::SelectPalette(Hdc hdc, Hpalette palette,
                                 Bool force_background) {
  return ours(::SelectPalette(real(hdc), reinterpret_cast<HPALETTE>(palette),
                              force_background));
}

Uint Win32Gdi::RealizePalette(Hdc hdc) { return ::RealizePalette(real(hdc)); }

Bool Win32Gdi::DeleteObject(Hgdiobj object) {
  return ::DeleteObject(real(object));
}

int Win32Gdi::StretchDIBits(Hdc hdc, int x_dest, int y_dest, int dest_width,
                            int dest_height, int x_src, int y_src,
                            int src_width, int src_height, const void* bits,
                            const void* info, Uint usage, Dword rop) {
  return ::StretchDIBits(real(hdc), x_dest, y_dest, dest_width, dest_height,
                         x_src, y_src, src_width, src_height, bits,
                         static_cast<const BITMAPINFO*>(info), usage, rop);
}

std::wstring Win32Gdi::installed_face(const std::wstring& face) {
  if (face == asked_ && !answer_.empty()) return answer_;
  const HDC screen = ::GetDC(nullptr);
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  FaceSearch search;
  if (!face.empty() && face.size() < LF_FACESIZE) {
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    EnumFontFamiliesExW(screen, &lf, on_family,
                        reinterpret_cast<LPARAM>(&search), 0);
  }
  std::wstring answer = face;
  if (search.any.empty()) {
    FaceSearch japanese;
    LOGFONTW any{};
    any.lfCharSet = SHIFTJIS_CHARSET;
    EnumFontFamiliesExW(screen, &any, on_family,
                        reinterpret_cast<LPARAM>(&japanese), 0);
    if (!japanese.fixed.empty())
      answer = japanese.fixed;
    else if (!japanese.any.empty())
      answer = japanese.any;
  }
  ::ReleaseDC(nullptr, screen);
  asked_ = face;
  answer_ = answer;
  return answer;
}

Hfont Win32Gdi::CreateFontIndirectA(const LogFontA* logfont) {
  if (!logfont) return ours(::CreateFontIndirectW(nullptr));
  LOGFONTW lf{};
  lf.lfHeight = logfont->lfHeight;
  lf.lfWidth = logfont->lfWidth;
  lf.lfEscapement = logfont->lfEscapement;
  lf.lfOrientation = logfont->lfOrientation;
  lf.lfWeight = logfont->lfWeight;
  lf.lfItalic = logfont->lfItalic;
  lf.lfUnderline = logfont->lfUnderline;
  lf.lfStrikeOut = logfont->lfStrikeOut;
  lf.lfCharSet = logfont->lfCharSet;
  lf.lfOutPrecision = logfont->lfOutPrecision;
  lf.lfClipPrecision = logfont->lfClipPrecision;
  lf.lfQuality = logfont->lfQuality;
  lf.lfPitchAndFamily = logfont->lfPitchAndFamily;
  const std::size_t face_bytes =
      strnlen(logfont->lfFaceName, sizeof logfont->lfFaceName);
  const std::wstring face = installed_face(
      cp932_to_wide(std::string_view(logfont->lfFaceName, face_bytes)));
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return ours(::CreateFontIndirectW(&lf));
}

Hgdiobj Win32Gdi::SelectObject(Hdc hdc, Hgdiobj object) {
  return ours(::SelectObject(real(hdc), real(object)));
}

int Win32Gdi::SetBkMode(Hdc hdc, int mode) {
  return ::SetBkMode(real(hdc), mode);
}

ColorRef Win32Gdi::SetTextColor(Hdc hdc, ColorRef colour) {
  return ::SetTextColor(real(hdc), colour);
}

Bool Win32Gdi::TextOutA(Hdc hdc, int x, int y, const char* text, int length) {
  if (!text || length < 0) return ::TextOutW(real(hdc), x, y, nullptr, length);
  const std::wstring wide =
      cp932_to_wide(std::string_view(text, static_cast<std::size_t>(length)));
  return ::TextOutW(real(hdc), x, y, wide.c_str(),
                    static_cast<int>(wide.size()));
}

Hpen Win32Gdi::CreatePen(int style, int width, ColorRef colour) {
  return ours(::CreatePen(style, width, colour));
}

Hbrush Win32Gdi::CreateSolidBrush(ColorRef colour) {
  return ours(::CreateSolidBrush(colour));
}

Bool Win32Gdi::Rectangle(Hdc hdc, int left, int top, int right, int bottom) {
  return ::Rectangle(real(hdc), left, top, right, bottom);
}

Bool Win32Gdi::MoveToEx(Hdc hdc, int x, int y, Point* previous) {
  POINT p{};
  const BOOL ok = ::MoveToEx(real(hdc), x, y, &p);
  if (ok && previous) *previous = Point{p.x, p.y};
  return ok;
}

Bool Win32Gdi::LineTo(Hdc hdc, int x, int y) {
  return ::LineTo(real(hdc), x, y);
}

int Win32Gdi::GetDeviceCaps(Hdc hdc, int index) {
  return ::GetDeviceCaps(real(hdc), index);
}

}  // namespace mowa::pf
