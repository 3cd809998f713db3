// The software GDI shared by every backend: device contexts on the window's
// framebuffer, logical palettes, DIB blits, pens, brushes, fonts and text.
//
// The display is a true-colour one: a DIB is shown in the colours of its own
// colour table, and selecting or realising a palette changes no pixel.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/common/faults.h"
#include "platform/platform.h"
#include "platform/softgdi/surface.h"

namespace mowa::pf {

class SoftGdi final : public GdiService {
 public:
  explicit SoftGdi(Faults& faults);
  ~SoftGdi() override;
  SoftGdi(const SoftGdi&) = delete;
  SoftGdi& operator=(const SoftGdi&) = delete;

  // ---- for the window service ----
  // A device context drawing on `target`; a null target is the whole screen,
  // on which nothing is drawn. Never fails: GetDC and BeginPaint decide that.
  Hdc open_dc(Surface* target);
  // Forgets the context and everything selected into it (objects live on).
  void close_dc(Hdc hdc);
  bool is_dc(Hdc hdc) const;
  // Device contexts not yet released or ended.
  std::size_t open_dcs() const;
  // What GetDeviceCaps reports for BITSPIXEL, HORZRES and VERTRES.
  void set_display_format(int width, int height, int bits_per_pixel);

  // ---- GdiService ----
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

  // How many GDI objects exist; lets tests see that nothing leaks.
  std::size_t live_objects() const;

 private:
  struct State;
  Faults& faults_;
  std::unique_ptr<State> state_;
};

}  // namespace mowa::pf
