// The platform seam: every service that the program draws on, on one page.
//
// Each service keeps the shape of the Windows calls the program makes: the
// same names, the same arguments and the same failure values, because boxes
// and fault injection name the calls, and the order of messages and the
// moment a paint runs are what scenarios observe. Its handles, records and
// constants are on the types page (platform/types.h). A backend (headless,
// SDL, Windows) implements every service and hands the program one
// `Platform` that names them all.
//
// Text crosses the seam as code-page-932 bytes; a backend converts it where
// it meets the host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "platform/types.h"

namespace mowa::pf {

// ---- Message boxes ---------------------------------------------------------
// A message box with one OK button.
class BoxService {
 public:
  virtual ~BoxService() = default;
  // Shows code-page-932 text and caption with one OK button and returns when
  // the box is closed (IDOK); 0 when the box could not be shown. While it is
  // open the owner's paints and MCI notifications are still dispatched.
  virtual int MessageBoxA(Hwnd owner, const char* text, const char* caption,
                          Uint type) = 0;
};

// ---- Time ------------------------------------------------------------------
// The program has one thread: it sleeps to wait, and reads the calendar
// time.
class ClockService {
 public:
  virtual ~ClockService() = default;
  // Blocks the only thread for the given milliseconds.
  virtual void Sleep(Dword delay_ms) = 0;
  // The current calendar time in whole seconds, as the C library's time().
  virtual std::int64_t time_seconds() = 0;
};

// ---- Window, message loop, repaint ----------------------------------------
// The program's window and its window procedure. Messages are peeked, never
// waited for; a paint runs inside UpdateWindow; drawing goes through a device
// context of the window or of the whole screen.
class WindowService {
 public:
  virtual ~WindowService() = default;

  // ---- window and loop ----
  // Returns a non-zero atom on success, 0 on failure.
  virtual Word RegisterClassA(const WndClassA* wc) = 0;
  virtual Hwnd CreateWindowExA(Dword ex_style, const char* class_name,
                               const char* window_name, Dword style, int x,
                               int y, int width, int height, Hwnd parent) = 0;
  virtual Bool SetWindowPos(Hwnd hwnd, Hwnd insert_after, int x, int y, int cx,
                            int cy, Uint flags) = 0;
  virtual Bool ShowWindow(Hwnd hwnd, int cmd_show) = 0;
  // Never waits. kFalse when the queue is empty.
  virtual Bool PeekMessageA(Msg* msg, Hwnd hwnd, Uint filter_min,
                            Uint filter_max, Uint remove) = 0;
  virtual Bool TranslateMessage(const Msg* msg) = 0;
  virtual Lresult DispatchMessageA(const Msg* msg) = 0;
  virtual Bool PostMessageA(Hwnd hwnd, Uint message, Wparam wparam,
                            Lparam lparam) = 0;
  virtual void PostQuitMessage(int exit_code) = 0;
  virtual Lresult DefWindowProcA(Hwnd hwnd, Uint message, Wparam wparam,
                                 Lparam lparam) = 0;

  // ---- repaint ----
  // The paint runs inside UpdateWindow, before it returns.
  virtual Bool InvalidateRect(Hwnd hwnd, const Rect* rect, Bool erase) = 0;
  virtual Bool UpdateWindow(Hwnd hwnd) = 0;
  virtual Hdc BeginPaint(Hwnd hwnd, PaintStruct* ps) = 0;
  virtual Bool EndPaint(Hwnd hwnd, const PaintStruct* ps) = 0;

  // ---- device context ----
  // A null window gives the device context of the whole screen.
  virtual Hdc GetDC(Hwnd hwnd) = 0;
  virtual int ReleaseDC(Hwnd hwnd, Hdc hdc) = 0;
};

// Waiting while the scenario only polls an unchanged mouse. Not a Windows
// service: the runner asks for it between two turns of the main loop.
class IdleWait {
 public:
  virtual ~IdleWait() = default;
  // Sleeps until input arrives or the program must act by itself (a
  // sequence plays to its end) instead of spinning; returns at once when the
  // queue is not empty.
  virtual void wait_for_input() = 0;
};

// ---- Drawing (GDI) ---------------------------------------------------------
// Pictures reach the screen as a palette and a DIB blit, text is drawn with
// a Shift-JIS font, frames with pens and brushes.
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
  virtual Bool Rectangle(Hdc hdc, int left, int top, int right, int bottom) = 0;
  virtual Bool MoveToEx(Hdc hdc, int x, int y, Point* previous) = 0;
  // Leaves out its end point.
  virtual Bool LineTo(Hdc hdc, int x, int y) = 0;

  // ---- device format ----
  virtual int GetDeviceCaps(Hdc hdc, int index) = 0;
};

// ---- Display modes ---------------------------------------------------------
// Listing the display's modes and switching to one of them.
class DisplayService {
 public:
  virtual ~DisplayService() = default;
  // Fills `mode` with display mode number `mode_num` of the device (null:
  // the primary display). kFalse past the last mode.
  virtual Bool EnumDisplaySettingsA(const char* device, Dword mode_num,
                                    DevModeA* mode) = 0;
  // A change with flags 0 lasts until the next change.
  virtual Long ChangeDisplaySettingsA(DevModeA* mode, Dword flags) = 0;
};

// ---- Sound -----------------------------------------------------------------
// WAV sounds through PlaySound, MIDI music through MCI command strings.
class SoundService {
 public:
  virtual ~SoundService() = default;
  // Asynchronous; a new request replaces the sound in progress; a null sound
  // stops it.
  virtual Bool PlaySoundA(const char* sound, void* module, Dword flags) = 0;
  // Returns 0 on success, else an MCI error code. "notify" posts
  // MM_MCINOTIFY to `callback` when the command's action ends.
  virtual McError mciSendStringA(const char* command, char* return_string,
                                 Uint return_length, Hwnd callback) = 0;
  virtual Bool mciGetErrorStringA(McError error, char* text, Uint length) = 0;
};

// ---- Memory ----------------------------------------------------------------
// Global and local memory blocks, and the thread's last error.
class MemoryService {
 public:
  virtual ~MemoryService() = default;
  virtual Hglobal GlobalAlloc(Uint flags, std::size_t bytes) = 0;
  // The pointer stays valid until the matching unlock.
  virtual void* GlobalLock(Hglobal block) = 0;
  // Non-zero while still locked; 0 with the last error NO_ERROR once
  // unlocked; 0 with a non-zero last error on failure.
  virtual Bool GlobalUnlock(Hglobal block) = 0;
  // Null on success, the handle on failure.
  virtual Hglobal GlobalFree(Hglobal block) = 0;
  // With LPTR the handle is the block's address.
  virtual Hlocal LocalAlloc(Uint flags, std::size_t bytes) = 0;
  // Null on success, the handle on failure.
  virtual Hlocal LocalFree(Hlocal block) = 0;
  virtual Dword GetLastError() = 0;
  virtual void SetLastError(Dword error) = 0;
};

// ---- Files -----------------------------------------------------------------
// The Windows file calls and the C library's buffered streams. Every name is
// a code-page-932 path as the scenario writes it: backslash as separator,
// relative to the current directory, letter case ignored.

// A buffered stream as fopen gives it. Mode "rt" reads CR LF as LF and ends
// at Ctrl-Z; positions are byte offsets in the file.
class Stream {
 public:
  virtual ~Stream() = default;
  // Null at the end of the file or on error.
  virtual char* fgets(char* buffer, int size) = 0;
  // -1 (EOF) at the end of the file or on error.
  virtual int fgetc() = 0;
  // -1 on failure.
  virtual int fputc(int c) = 0;
  virtual std::size_t fwrite(const void* data, std::size_t size,
                             std::size_t count) = 0;
  // 0 on success.
  virtual int fseek(long offset, int origin) = 0;
  virtual long ftell() = 0;
  virtual void rewind() = 0;
  // 0 on success.
  virtual int fflush() = 0;
};

inline constexpr int SEEK_SET_ = 0;
inline constexpr int SEEK_CUR_ = 1;
inline constexpr int SEEK_END_ = 2;

class FileService {
 public:
  virtual ~FileService() = default;

  // ---- Windows calls ----
  virtual Hfile OpenFile(const char* path, Uint style) = 0;
  virtual Dword SetFilePointer(Hfile file, Long distance, Long* distance_high,
                               Dword method) = 0;
  virtual Bool ReadFile(Hfile file, void* buffer, Dword bytes, Dword* read,
                        void* overlapped) = 0;
  virtual Dword GetFileSize(Hfile file, Dword* size_high) = 0;
  virtual Bool CloseHandle(Hfile file) = 0;
  // Length without the terminator; 0 on failure; the needed size when the
  // buffer is too small.
  virtual Dword GetCurrentDirectoryA(Dword length, char* buffer) = 0;

  // ---- C library ----
  // Null on failure. The stream is closed and deleted by fclose.
  virtual Stream* fopen(const char* path, const char* mode) = 0;
  // 0 on success, -1 on failure; the stream is gone either way.
  virtual int fclose(Stream* stream) = 0;
};

// What the program asks of files beyond the Windows calls and the C
// library's streams: knowing when the scenario file was edited, so that a
// step can trust its index of line starts, and putting a new save file in
// place of the old one only once it is safely written.

// What identifies one version of a file: when any field changes, the file
// has been replaced or edited.
struct FileStamp {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = -1;
  std::int64_t mtime_ns = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

class FileVersions {
 public:
  virtual ~FileVersions() = default;
  // The version of the file that `stream` (from this platform's fopen) has
  // open, as it was when opened.
  virtual FileStamp stamp(Stream& stream) = 0;
};

class FileReplacement {
 public:
  virtual ~FileReplacement() = default;
  // Flushes the stream's bytes to the disk itself; 0 on success.
  virtual int fsync(Stream& stream) = 0;
  // Replaces `to` if it exists; 0 on success.
  virtual int rename(const char* from, const char* to) = 0;
  virtual int remove(const char* path) = 0;
  // Flushes the folder that holds `path` to the disk itself, so that a
  // rename into it survives a power loss; 0 on success.
  virtual int sync_folder(const char* path) = 0;
};

// ---- The whole platform ----------------------------------------------------
struct Platform {
  BoxService& box;
  ClockService& clock;
  WindowService& window;
  GdiService& gdi;
  DisplayService& display;
  SoundService& sound;
  MemoryService& memory;
  FileService& files;
  FileVersions& versions;        // the scenario file's line index
  FileReplacement& replacement;  // the save file written whole or not at all
  std::FILE* out;                // standard output, where the trace lines go
};

// The one place a backend is wired: a backend object holds one member per
// service under these names (its files serve versions and replacement too,
// unless the backend puts saves in place its own way), and builds its
// `Platform` with this.
template <typename Backend>
Platform assemble(Backend& backend, std::FILE* out,
                  FileReplacement* replacement = nullptr) {
  return Platform{backend.box,
                  backend.clock,
                  backend.window,
                  backend.gdi,
                  backend.display,
                  backend.sound,
                  backend.memory,
                  backend.files,
                  backend.files,
                  replacement ? *replacement : backend.files,
                  out};
}

// ---- Requests from a debugging editor --------------------------------------
// Standard input read on a thread of the backend's own, so that the program
// can wait for a request with a timeout and keep its window alive meanwhile.
class RequestPipe {
 public:
  virtual ~RequestPipe() = default;
  // True when bytes, or the end of the input, wait to be read; never blocks.
  virtual bool ready() const = 0;
  // Moves up to `size` waiting bytes into `buffer`, waiting at most `wait_ms`
  // for the first: the count, 0 when none came, -1 once the input has ended
  // and every byte before was read.
  virtual int read(char* buffer, int size, int wait_ms) = 0;
};
// The program's standard input as a RequestPipe. A closed output pipe then
// fails the write instead of ending the program.
std::unique_ptr<RequestPipe> open_request_pipe();

}  // namespace mowa::pf
