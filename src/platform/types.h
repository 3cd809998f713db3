// Handle types, records and constants of the platform seam.
//
// The seam mirrors the calls of the Windows API that the program makes, with
// the same arguments and the same failure values, so that every routine can be
// read side by side with the system call it relies on. These are the seam's
// own types: nothing here includes an operating-system header.
#pragma once

#include <cstdint>

namespace mowa::pf {

using Bool = int;
using Uint = std::uint32_t;
using Dword = std::uint32_t;
using Word = std::uint16_t;
using Long = std::int32_t;
using Wparam = std::uintptr_t;
using Lparam = std::intptr_t;
using Lresult = std::intptr_t;
using ColorRef = std::uint32_t;  // 0x00BBGGRR
using McError = std::uint32_t;

inline constexpr Bool kFalse = 0;
inline constexpr Bool kTrue = 1;

// Opaque handles. Null is the failure value wherever the call documents one.
struct HwndTag;
struct HdcTag;
struct GdiObjectTag;
struct GlobalTag;
struct LocalTag;
using Hwnd = HwndTag*;
using Hdc = HdcTag*;
using Hgdiobj = GdiObjectTag*;
using Hpalette = Hgdiobj;
using Hfont = Hgdiobj;
using Hpen = Hgdiobj;
using Hbrush = Hgdiobj;
using Hglobal = GlobalTag*;
using Hlocal = LocalTag*;
using Hfile = int;  // from OpenFile; also taken where a file HANDLE is passed

inline constexpr Hfile HFILE_ERROR = -1;

// ---- records -------------------------------------------------------------

#pragma pack(push, 1)
struct BitmapInfoHeader {
  Dword biSize;
  Long biWidth;
  Long biHeight;
  Word biPlanes;
  Word biBitCount;
  Dword biCompression;
  Dword biSizeImage;
  Long biXPelsPerMeter;
  Long biYPelsPerMeter;
  Dword biClrUsed;
  Dword biClrImportant;
};
struct RgbQuad {
  std::uint8_t rgbBlue;
  std::uint8_t rgbGreen;
  std::uint8_t rgbRed;
  std::uint8_t rgbReserved;
};
struct PaletteEntry {
  std::uint8_t peRed;
  std::uint8_t peGreen;
  std::uint8_t peBlue;
  std::uint8_t peFlags;
};
struct LogPalette {
  Word palVersion;
  Word palNumEntries;
  PaletteEntry palPalEntry[1];  // palNumEntries entries follow in the block
};
#pragma pack(pop)
static_assert(sizeof(BitmapInfoHeader) == 40);
static_assert(sizeof(RgbQuad) == 4);
static_assert(sizeof(LogPalette) == 8);

inline constexpr int LF_FACESIZE = 32;
struct LogFontA {
  Long lfHeight;
  Long lfWidth;
  Long lfEscapement;
  Long lfOrientation;
  Long lfWeight;
  std::uint8_t lfItalic;
  std::uint8_t lfUnderline;
  std::uint8_t lfStrikeOut;
  std::uint8_t lfCharSet;
  std::uint8_t lfOutPrecision;
  std::uint8_t lfClipPrecision;
  std::uint8_t lfQuality;
  std::uint8_t lfPitchAndFamily;
  char lfFaceName[LF_FACESIZE];  // code page 932
};

struct Point {
  Long x;
  Long y;
};
struct Rect {
  Long left;
  Long top;
  Long right;
  Long bottom;
};

struct Msg {
  Hwnd hwnd;
  Uint message;
  Wparam wParam;
  Lparam lParam;
  Dword time;
  Point pt;
};

struct PaintStruct {
  Hdc hdc;
  Bool fErase;
  Rect rcPaint;
};

using WndProc = Lresult (*)(void* context, Hwnd, Uint, Wparam, Lparam);

// The window procedure gets `context` back with every message: the program
// keeps its state there instead of in module-level variables.
struct WndClassA {
  Uint style;
  WndProc lpfnWndProc;
  void* context;
  const char* lpszClassName;
};

inline constexpr int CCHDEVICENAME = 32;
struct DevModeA {
  char dmDeviceName[CCHDEVICENAME];
  Dword dmFields;
  Dword dmBitsPerPel;
  Dword dmPelsWidth;
  Dword dmPelsHeight;
  Dword dmDisplayFrequency;
};

// ---- constants -----------------------------------------------------------

// Messages.
inline constexpr Uint WM_NULL = 0x0000;
inline constexpr Uint WM_DESTROY = 0x0002;
inline constexpr Uint WM_PAINT = 0x000F;
inline constexpr Uint WM_CLOSE = 0x0010;
inline constexpr Uint WM_QUIT = 0x0012;
inline constexpr Uint WM_KEYDOWN = 0x0100;
inline constexpr Uint WM_KEYUP = 0x0101;
inline constexpr Uint WM_CHAR = 0x0102;
inline constexpr Uint WM_MOUSEMOVE = 0x0200;
inline constexpr Uint WM_LBUTTONDOWN = 0x0201;
inline constexpr Uint WM_LBUTTONUP = 0x0202;
inline constexpr Uint WM_LBUTTONDBLCLK = 0x0203;
inline constexpr Uint WM_RBUTTONDOWN = 0x0204;
inline constexpr Uint WM_RBUTTONUP = 0x0205;
inline constexpr Uint WM_RBUTTONDBLCLK = 0x0206;
inline constexpr Uint WM_MBUTTONDOWN = 0x0207;
inline constexpr Uint WM_MBUTTONUP = 0x0208;
inline constexpr Uint WM_MBUTTONDBLCLK = 0x0209;
inline constexpr Uint MM_MCINOTIFY = 0x03B9;

inline constexpr Wparam MCI_NOTIFY_SUCCESSFUL = 0x0001;
inline constexpr Wparam MCI_NOTIFY_SUPERSEDED = 0x0002;
inline constexpr Wparam MCI_NOTIFY_ABORTED = 0x0004;
inline constexpr Wparam MCI_NOTIFY_FAILURE = 0x0008;

inline constexpr Wparam MK_LBUTTON = 0x0001;
inline constexpr Wparam MK_RBUTTON = 0x0002;
inline constexpr Wparam MK_MBUTTON = 0x0010;
inline constexpr Wparam VK_ESCAPE = 0x1B;

inline constexpr Uint PM_NOREMOVE = 0x0000;
inline constexpr Uint PM_REMOVE = 0x0001;

// Window class and window styles, placement.
inline constexpr Uint CS_DBLCLKS = 0x0008;
inline constexpr Dword WS_POPUP = 0x80000000u;
inline const Hwnd HWND_TOPMOST = reinterpret_cast<Hwnd>(std::intptr_t{-1});
inline constexpr Uint SWP_SHOWWINDOW = 0x0040;
inline constexpr int SW_SHOWNORMAL = 1;

// Message boxes.
inline constexpr Uint MB_OK = 0x00000000;
inline constexpr Uint MB_ICONEXCLAMATION = 0x00000030;
inline constexpr int IDOK = 1;

// GDI.
inline constexpr int GDI_ERROR_INT = -1;
inline constexpr Uint GDI_ERROR = 0xFFFFFFFFu;
inline constexpr ColorRef CLR_INVALID = 0xFFFFFFFFu;
inline constexpr Uint DIB_RGB_COLORS = 0;
inline constexpr Dword SRCCOPY = 0x00CC0020;
inline constexpr Dword BI_RGB = 0;
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;
inline constexpr int PS_SOLID = 0;
inline constexpr std::uint8_t SHIFTJIS_CHARSET = 128;
inline constexpr int BITSPIXEL = 12;
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;

// Display settings.
inline constexpr Dword DM_BITSPERPEL = 0x00040000;
inline constexpr Dword DM_PELSWIDTH = 0x00080000;
inline constexpr Dword DM_PELSHEIGHT = 0x00100000;
inline constexpr Dword DM_DISPLAYFREQUENCY = 0x00400000;
inline constexpr Long DISP_CHANGE_SUCCESSFUL = 0;
inline constexpr Long DISP_CHANGE_FAILED = -1;

// Memory.
inline constexpr Uint GMEM_MOVEABLE = 0x0002;
inline constexpr Uint GMEM_ZEROINIT = 0x0040;
inline constexpr Uint LPTR = 0x0040;
inline constexpr Dword NO_ERROR = 0;
inline constexpr Dword ERROR_INVALID_HANDLE = 6;
inline constexpr Dword ERROR_NOT_LOCKED = 158;

// Files.
inline constexpr Uint OF_READ = 0x0000;
inline constexpr Dword FILE_BEGIN = 0;
inline constexpr Dword FILE_CURRENT = 1;
inline constexpr Dword FILE_END = 2;
inline constexpr Dword INVALID_SET_FILE_POINTER = 0xFFFFFFFFu;
inline constexpr Dword INVALID_FILE_SIZE = 0xFFFFFFFFu;
inline constexpr int MAX_PATH = 260;

// Sound.
inline constexpr Dword SND_ASYNC = 0x0001;
inline constexpr Dword SND_NODEFAULT = 0x0002;
inline constexpr Dword SND_LOOP = 0x0008;
inline constexpr Dword SND_FILENAME = 0x00020000;

}  // namespace mowa::pf
