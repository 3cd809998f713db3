// GDI services: palettes and DIB blits, fonts and text, pens and shapes.
#pragma once

#include "platform/types.h"

namespace mowa::pf {

class GdiService {
 public:
  virtual ~GdiService() = default;

  // ---- palette and blit ----
  virtual Hpalette CreatePalette(const LogPalette* palette) = 0;
  // Returns the previously selected palette; null on failure.
  virtual Hpalette SelectPalette(Hdc hdc, Hpalette palette,
                                 Bool force_background) = 0;
  // Number of entries mapped; GDI_ERROR on failure.
  virtual Uint RealizePalette(Hdc hdc) = 0;
  virtual Bool DeleteObject(Hgdiobj object) = 0;
  // `info` is a BITMAPINFOHEADER followed by its colour table; `bits` the
  // packed rows. Source y counts from the bottom row of a bottom-up DIB.
  // Returns the number of scan lines copied, GDI_ERROR_INT on failure.
  virtual int StretchDIBits(Hdc hdc, int x_dest, int y_dest, int dest_width,
                            int dest_height, int x_src, int y_src,
                            int src_width, int src_height, const void* bits,
                            const void* info, Uint usage, Dword rop) = 0;

  // ---- fonts and text ----
  virtual Hfont CreateFontIndirectA(const LogFontA* logfont) = 0;
  // Returns the object it replaces; null on failure.
  virtual Hgdiobj SelectObject(Hdc hdc, Hgdiobj object) = 0;
  // Returns the previous mode; 0 on failure.
  virtual int SetBkMode(Hdc hdc, int mode) = 0;
  // Returns the previous colour; CLR_INVALID on failure.
  virtual ColorRef SetTextColor(Hdc hdc, ColorRef colour) = 0;
  // Draws code-page-932 bytes with the cell's top-left corner at (x, y).
  virtual Bool TextOutA(Hdc hdc, int x, int y, const char* text,
                        int length) = 0;

  // ---- pens and shapes ----
  virtual Hpen CreatePen(int style, int width, ColorRef colour) = 0;
  virtual Hbrush CreateSolidBrush(ColorRef colour) = 0;
  // Fills up to but excluding the right and bottom edges.
  virtual Bool Rectangle(Hdc hdc, int left, int top, int right,
                         int bottom) = 0;
  virtual Bool MoveToEx(Hdc hdc, int x, int y, Point* previous) = 0;
  // Leaves out its end point.
  virtual Bool LineTo(Hdc hdc, int x, int y) = 0;

  // ---- device format ----
  virtual int GetDeviceCaps(Hdc hdc, int index) = 0;
};

}  // namespace mowa::pf
