// GDI on gdi32: every call passes its arguments and its failure value
// through. Texts are cp932 bytes drawn with the wide calls, and a face that
// is not installed gives way to an installed Japanese monospaced one.
#pragma once

#include <string>

#include "platform/platform.h"

namespace mowa::pf {

class Win32Gdi final : public GdiService {
 public:
  Hpalette CreatePalette(const LogPalette* palette) override;
  Hpalette SelectPalette(Hdc hdc, Hpalette palette,
                         Bool force_background) override;
  Uint RealizePalette(Hdc hdc) override;
  Bool DeleteObject(Hgdiobj object) override;
  int StretchDIBits(Hdc hdc, int x_dest, int y_dest, int dest_width,
                    int dest_height, int x_src, int y_src, int src_width,
                    int src_height, const void* bits, const void* info,
                    Uint usage, Dword rop) override;
  Hfont CreateFontIndirectA(const LogFontA* logfont) override;
  Hgdiobj SelectObject(Hdc hdc, Hgdiobj object) override;
  int SetBkMode(Hdc hdc, int mode) override;
  ColorRef SetTextColor(Hdc hdc, ColorRef colour) override;
  Bool TextOutA(Hdc hdc, int x, int y, const char* text, int length) override;
  Hpen CreatePen(int style, int width, ColorRef colour) override;
  Hbrush CreateSolidBrush(ColorRef colour) override;
  Bool Rectangle(Hdc hdc, int left, int top, int right, int bottom) override;
  Bool MoveToEx(Hdc hdc, int x, int y, Point* previous) override;
  Bool LineTo(Hdc hdc, int x, int y) override;
  int GetDeviceCaps(Hdc hdc, int index) override;

  // The face that stands in for `face` (UTF-16): `face` itself when it is
  // installed, else the first installed monospaced family of the Shift-JIS
  // character set, else any family of that set, else `face`.
  std::wstring installed_face(const std::wstring& face);

 private:
  std::wstring asked_;   // the last face asked for
  std::wstring answer_;  // and what stands in for it
};

}  // namespace mowa::pf
