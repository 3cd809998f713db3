// The reader's own keys in mowa.exe: fast-forward, volume, scaling,
// screenshots (PNG through Windows' imaging component) and the list of keys.
// None of them reaches the scenario, and what they show is drawn on the
// window over the shown frame, never into the picture.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/win32/win32_services.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_window.h"

// After the seam: its names are macros in the system headers.
#include <knownfolders.h>
#include <mmsystem.h>
#include <shlobj.h>
#include <wincodec.h>

namespace mowa::pf {
namespace {

constexpr UINT_PTR kNoteTimer = 0x6D6F;  // any id of the program's own
constexpr UINT_PTR kMusicFadeTimer = 0x6D70;
constexpr UINT kMusicFadeStep_ms = 40;
constexpr UINT kNoteShown_ms = 2000;
// A sleep looks this often whether Ctrl came or went.
constexpr DWORD kSleepSlice_ms = 20;
constexpr int kFastForwardSpeed = 10;

const wchar_t* const kKeyList[] = {
    L"Esc            leave",
    L"Alt+Enter   full screen / window",
    L"Ctrl            fast-forward while held",
    L"Tab             fast-forward on / off",
    L"M               mute / sound on",
    L"-  +            volume down / up",
    L"F10            fit the screen / whole multiples",
    L"F12            screenshot",
    L"F1              this list",
};

// Holds one COM interface for one call.
template <typename T>
struct Com {
  T* p = nullptr;
  Com() = default;
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  ~Com() {
    if (p) p->Release();
  }
  T** out() { return &p; }
  T* operator->() const { return p; }
};

std::filesystem::path known_folder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::filesystem::path result;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)))
    result = std::filesystem::path(path);
  CoTaskMemFree(path);
  return result;
}

// Writes the top-down 32-bit picture as a PNG; a failed HRESULT otherwise.
HRESULT write_png_file(const std::wstring& path, const void* bits, int width,
                       int height, int stride) {
  Com<IWICImagingFactory> factory;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr,
                                CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.out()));
  if (FAILED(hr)) return hr;
  Com<IWICBitmap> bitmap;
  hr = factory->CreateBitmapFromMemory(
      width, height, GUID_WICPixelFormat32bppBGR, stride, stride * height,
      static_cast<BYTE*>(const_cast<void*>(bits)), bitmap.out());
  if (FAILED(hr)) return hr;
  Com<IWICStream> stream;
  if (FAILED(hr = factory->CreateStream(stream.out()))) return hr;
  if (FAILED(hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)))
    return hr;
  Com<IWICBitmapEncoder> encoder;
  if (FAILED(hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr,
                                         encoder.out())))
    return hr;
  if (FAILED(hr = encoder->Initialize(stream.p, WICBitmapEncoderNoCache)))
    return hr;
  Com<IWICBitmapFrameEncode> frame;
  if (FAILED(hr = encoder->CreateNewFrame(frame.out(), nullptr))) return hr;
  if (FAILED(hr = frame->Initialize(nullptr))) return hr;
  if (FAILED(hr = frame->SetSize(width, height))) return hr;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(hr = frame->SetPixelFormat(&format))) return hr;
  if (FAILED(hr = frame->WriteSource(bitmap.p, nullptr))) return hr;
  if (FAILED(hr = frame->Commit())) return hr;
  return encoder->Commit();
}

std::wstring local_time_stamp() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  wchar_t text[32];
  swprintf(text, 32, L"%04u%02u%02u-%02u%02u%02u", t.wYear, t.wMonth, t.wDay,
           t.wHour, t.wMinute, t.wSecond);
  return text;
}

}  // namespace

void Win32Clock::Sleep(Dword delay_ms) {
  if (delay_ms == INFINITE) {
    ::Sleep(INFINITE);
    return;
  }
  // The time left, in the scenario's milliseconds: while fast-forward is on
  // it runs ten times as fast as the clock.
  using Clock = std::chrono::steady_clock;
  auto left = std::chrono::duration_cast<Clock::duration>(
      std::chrono::milliseconds(delay_ms));
  auto before = Clock::now();
  while (left > Clock::duration::zero()) {
    const int speed = window_.fast_forward() ? kFastForwardSpeed : 1;
    const auto slice_ms =
        std::chrono::ceil<std::chrono::milliseconds>(left / speed).count();
    ::Sleep(static_cast<DWORD>(std::min<long long>(slice_ms, kSleepSlice_ms)));
    const auto now = Clock::now();
    left -= (now - before) * speed;
    before = now;
  }
}

bool Win32Window::fast_forward() const {
  return fast_lasting_ || (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
}

void Win32Window::load_reader_settings() {
  const std::filesystem::path roaming = known_folder(FOLDERID_RoamingAppData);
  if (!roaming.empty()) settings_folder_ = roaming / L"mowa";
  settings_ = load_settings(settings_folder_);
  apply_volume();
}

void Win32Window::apply_volume() {
  // The program's own share of the output: music and sounds together.
  const DWORD level =
      static_cast<DWORD>(settings_.mixer_volume()) * 0xFFFF / 128;
  waveOutSetVolume(nullptr, level | (level << 16));
  // The sequencer plays through the MIDI outputs, which the wave volume
  // does not reach; the music also fades while the window is minimised.
  const DWORD music = static_cast<DWORD>(level * music_gain_);
  const UINT outputs = midiOutGetNumDevs();
  for (UINT id = 0; id < outputs; ++id)
    midiOutSetVolume(reinterpret_cast<HMIDIOUT>(static_cast<UINT_PTR>(id)),
                     music | (music << 16));
}

void Win32Window::music_minimised(Window& w, bool minimised) {
  if (minimised == music_hushed_) return;
  music_hushed_ = minimised;
  SetTimer(w.hwnd, kMusicFadeTimer, kMusicFadeStep_ms, nullptr);
}

void Win32Window::step_music_fade(Window& w) {
  // Over a second towards silence, or back to the reader's volume.
  const double step = static_cast<double>(kMusicFadeStep_ms) / 1000;
  music_gain_ = music_hushed_ ? std::max(0.0, music_gain_ - step)
                              : std::min(1.0, music_gain_ + step);
  apply_volume();
  if (music_gain_ == (music_hushed_ ? 0.0 : 1.0))
    KillTimer(w.hwnd, kMusicFadeTimer);
}

void Win32Window::keep_reader_settings(Window& w) {
  apply_volume();
  present(w);
  if (!save_settings(settings_folder_, settings_))
    std::fprintf(stderr, "mowa: cannot keep the settings in %s\n",
                 wide_to_utf8(settings_folder_.wstring()).c_str());
}

bool Win32Window::reader_key(Window& w, WPARAM key, bool repeat) {
  const bool help_was_shown = help_shown_;
  if (help_shown_) show_note(w, {}, false);
  switch (key) {
    case VK_TAB:
      if (!repeat) {
        fast_lasting_ = !fast_lasting_;
        present(w);
      }
      return true;
    case 'M':
      if (repeat) return true;
      settings_.muted = !settings_.muted;
      keep_reader_settings(w);
      show_volume(w);
      return true;
    case VK_OEM_MINUS:
    case VK_SUBTRACT:
      settings_.quieter();
      keep_reader_settings(w);
      show_volume(w);
      return true;
    case VK_OEM_PLUS:
    case VK_ADD:
      settings_.louder();
      keep_reader_settings(w);
      show_volume(w);
      return true;
    case VK_F10:
      if (repeat) return true;
      settings_.whole_multiples = !settings_.whole_multiples;
      keep_reader_settings(w);
      show_note(w,
                {settings_.whole_multiples ? L"Scaling: whole multiples"
                                           : L"Scaling: fit the screen"},
                false);
      return true;
    case VK_F12:
      if (!repeat) take_screenshot(w);
      return true;
    case VK_F1:
      if (!repeat && !help_was_shown) {
        show_note(
            w,
            std::vector<std::wstring>(std::begin(kKeyList), std::end(kKeyList)),
            true);
        help_shown_ = true;
      }
      return true;
    default:
      return false;
  }
}

void Win32Window::reader_clicked(Window& w) {
  if (help_shown_) show_note(w, {}, false);
}

void Win32Window::show_volume(Window& w) {
  std::wstring bar = L"Volume ";
  if (settings_.muted) {
    bar += L"muted";
  } else {
    for (int level = ReaderSettings::kVolumeStep_percent; level <= 100;
         level += ReaderSettings::kVolumeStep_percent)
      bar += level <= settings_.volume_percent ? L'#' : L'.';
    bar += L" " + std::to_wstring(settings_.volume_percent) + L"%";
  }
  show_note(w, {bar}, false);
}

void Win32Window::take_screenshot(Window& w) {
  std::wstring failure;
  std::filesystem::path file;
  const std::filesystem::path pictures = known_folder(FOLDERID_Pictures);
  DIBSECTION dib{};
  if (pictures.empty()) {
    failure = L"no Pictures folder";
  } else if (!w.picture ||
             GetObjectW(w.picture, sizeof dib, &dib) != sizeof dib ||
             !dib.dsBm.bmBits) {
    failure = L"no picture yet";
  } else {
    const std::filesystem::path folder = pictures / L"mowa";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    wchar_t current[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, current);
    std::wstring story = std::filesystem::path(current).filename().wstring();
    if (story.empty()) story = L"mowa";
    const std::wstring stamp = local_time_stamp();
    file = folder / (story + L"-" + stamp + L".png");
    for (int n = 2; std::filesystem::exists(file, ec); ++n)
      file =
          folder / (story + L"-" + stamp + L"-" + std::to_wstring(n) + L".png");
    GdiFlush();
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const HRESULT hr =
        write_png_file(file.wstring(), dib.dsBm.bmBits, w.picture_width,
                       w.picture_height, dib.dsBm.bmWidthBytes);
    if (SUCCEEDED(init)) CoUninitialize();
    if (FAILED(hr)) {
      wchar_t text[64];
      swprintf(text, 64, L"cannot write the PNG (error %08lX)",
               static_cast<unsigned long>(hr));
      failure = text;
      DeleteFileW(file.c_str());
    }
  }
  if (failure.empty()) {
    std::fprintf(stderr, "mowa: screenshot %s\n",
                 wide_to_utf8(file.wstring()).c_str());
    show_note(w, {L"Screenshot saved:", file.wstring()}, false);
  } else {
    std::fprintf(stderr, "mowa: screenshot failed: %s\n",
                 wide_to_utf8(failure).c_str());
    show_note(w, {L"Screenshot failed:", failure}, false);
  }
  std::fflush(stderr);
}

void Win32Window::show_note(Window& w, std::vector<std::wstring> lines,
                            bool lasting) {
  help_shown_ = false;
  note_ = std::move(lines);
  KillTimer(w.hwnd, kNoteTimer);
  if (!note_.empty() && !lasting)
    SetTimer(w.hwnd, kNoteTimer, kNoteShown_ms, nullptr);
  present(w);
}

bool Win32Window::note_timer(Window& w, WPARAM id) {
  if (id == kMusicFadeTimer) {
    step_music_fade(w);
    return true;
  }
  if (id != kNoteTimer) return false;
  KillTimer(w.hwnd, kNoteTimer);
  note_.clear();
  present(w);
  return true;
}

void Win32Window::draw_marks(HDC dc, const RECT& r) const {
  if (!note_.empty()) {
    const HGDIOBJ old_font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int line = metrics.tmHeight;
    int width = 0;
    for (const std::wstring& text : note_) {
      SIZE size{};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()),
                            &size);
      width = std::max<int>(width, size.cx);
    }
    const RECT plate{r.left + 8, r.top + 8, r.left + 8 + width + 12,
                     r.top + 8 + line * static_cast<int>(note_.size()) + 12};
    const HBRUSH dark = CreateSolidBrush(RGB(32, 32, 32));
    FillRect(dc, &plate, dark);
    DeleteObject(dark);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    for (std::size_t i = 0; i < note_.size(); ++i)
      TextOutW(dc, plate.left + 6, plate.top + 6 + line * static_cast<int>(i),
               note_[i].c_str(), static_cast<int>(note_[i].size()));
    SelectObject(dc, old_font);
  }
  if (fast_lasting_) {
    // Fast-forward: two white arrowheads on a dark plate at the top right.
    const RECT plate{r.right - 38, r.top + 8, r.right - 8, r.top + 26};
    FillRect(dc, &plate, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const HGDIOBJ old_brush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    const HGDIOBJ old_pen = SelectObject(dc, GetStockObject(WHITE_PEN));
    for (const LONG x : {plate.left + 4, plate.left + 16}) {
      const POINT head[] = {
          {x, plate.top + 3}, {x + 10, plate.top + 9}, {x, plate.top + 15}};
      Polygon(dc, head, 3);
    }
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
  }
}

}  // namespace mowa::pf
