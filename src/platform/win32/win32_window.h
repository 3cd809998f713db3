// Windows, the message loop, repaints and device contexts on user32.
//
// Each window of the program keeps its client, at the size the program gave
// it, as a DIB section of its own: GetDC and BeginPaint hand out a memory
// device context on it, so every drawing call lands in the program's picture
// exactly as on a display of that size, and the picture is then shown on the
// real window scaled with square pixels, its aspect kept and without
// smoothing. The display change to the program's mode is that window
// covering its monitor, never a new monitor mode.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/reader_settings.h"

#include "platform/platform.h"

// After the seam: its names are macros in the system headers.
#include <windows.h>

namespace mowa::pf {

class Win32Window final : public WindowService, public IdleWait {
 public:
  explicit Win32Window(HINSTANCE instance) : instance_(instance) {
    load_reader_settings();
  }
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  Word RegisterClassA(const WndClassA* wc) override;
  Hwnd CreateWindowExA(Dword ex_style, const char* class_name,
                       const char* window_name, Dword style, int x, int y,
                       int width, int height, Hwnd parent) override;
  Bool SetWindowPos(Hwnd hwnd, Hwnd insert_after, int x, int y, int cx, int cy,
                    Uint flags) override;
  Bool ShowWindow(Hwnd hwnd, int cmd_show) override;
  Bool PeekMessageA(Msg* msg, Hwnd hwnd, Uint filter_min, Uint filter_max,
                    Uint remove) override;
  Bool TranslateMessage(const Msg* msg) override;
  Lresult DispatchMessageA(const Msg* msg) override;
  Bool PostMessageA(Hwnd hwnd, Uint message, Wparam wparam,
                    Lparam lparam) override;
  void PostQuitMessage(int exit_code) override;
  Lresult DefWindowProcA(Hwnd hwnd, Uint message, Wparam wparam,
                         Lparam lparam) override;
  Bool InvalidateRect(Hwnd hwnd, const Rect* rect, Bool erase) override;
  Bool UpdateWindow(Hwnd hwnd) override;
  Hdc BeginPaint(Hwnd hwnd, PaintStruct* ps) override;
  Bool EndPaint(Hwnd hwnd, const PaintStruct* ps) override;
  Hdc GetDC(Hwnd hwnd) override;
  int ReleaseDC(Hwnd hwnd, Hdc hdc) override;
  void wait_for_input() override;

  // The display is in the program's mode: its window covers the monitor.
  // Otherwise it is a window of its picture's size at the desktop's origin.
  void set_display_fullscreen(bool fullscreen);

  // Fast-forward: while Ctrl is held, or after Tab until Tab again, every
  // sleep takes a tenth of its time. The scenario sees nothing of it.
  bool fast_forward() const;

 private:
  struct Class {
    WndProc proc = nullptr;
    void* context = nullptr;
  };
  // A window of the program with its picture.
  struct Window {
    Win32Window* owner = nullptr;
    HWND hwnd = nullptr;
    Class cls;
    HDC picture_dc = nullptr;
    HBITMAP picture = nullptr;
    HGDIOBJ old_bitmap = nullptr;
    int picture_width = 0;
    int picture_height = 0;
    PAINTSTRUCT paint{};
    bool painting = false;  // between a BeginPaint that worked and its EndPaint
    int dcs_out = 0;        // device contexts handed out and not yet given back
    bool placed = false;
  };

  static LRESULT CALLBACK thunk(HWND hwnd, UINT message, WPARAM wparam,
                                LPARAM lparam);
  Window* find(Hwnd hwnd);
  // Gives the window a picture of this size (each side 1 at least), what
  // was drawn kept at the top-left; false when none can be made.
  bool make_picture(Window& w, int width, int height);
  void drop_picture(Window& w);
  void present(Window& w);
  void place(Window& w);
  // Maps the pointer from the window's client to the picture.
  LPARAM to_picture(const Window& w, LPARAM lparam) const;
  RECT picture_rect(const Window& w) const;

  HINSTANCE instance_;
  std::map<std::wstring, Class> classes_;
  std::map<HWND, std::unique_ptr<Window>> windows_;
  bool fullscreen_ = false;
  bool toggled_ = false;  // Alt+Enter turned the display mode round
  // A press was handed out and no poll has come up empty since: a release
  // at the head of the queue waits until a statement has seen the press.
  bool press_unseen_ = false;
  int statements_since_press_ = 0;
  DWORD press_taken_ms_ = 0;
  // The buttons (MK_*) whose press the program's windows heard and whose
  // release not yet.
  WPARAM buttons_down_ = 0;
  // Called when a box no longer disables the window: a release made while
  // it was open went to no window of the program and is told now.
  void release_lost_buttons(HWND hwnd);

  // The reader's keys (win32_reader.cpp). reader_key is true when the key
  // was one of them, which the scenario then never hears of.
  bool reader_key(Window& w, WPARAM key, bool repeat);
  void reader_clicked(Window& w);
  void load_reader_settings();
  void apply_volume();
  void keep_reader_settings(Window& w);
  void show_volume(Window& w);
  void take_screenshot(Window& w);
  // Lines over the picture: for a while, or `lasting` until a key or click.
  void show_note(Window& w, std::vector<std::wstring> lines, bool lasting);
  // Minimised, the music fades out; restored, back in (one step a timer).
  void music_minimised(Window& w, bool minimised);
  void step_music_fade(Window& w);
  // The timers that end a note or step the music's fade; false for any other.
  bool note_timer(Window& w, WPARAM id);
  // The marks and the note, on the window over the picture's place.
  void draw_marks(HDC dc, const RECT& picture) const;

  ReaderSettings settings_;
  std::filesystem::path settings_folder_;
  bool fast_lasting_ = false;  // Tab's fast-forward
  std::vector<std::wstring> note_;
  bool help_shown_ = false;
  bool music_hushed_ = false;
  double music_gain_ = 1;  // the music's share of the volume, 0..1
};

}  // namespace mowa::pf
