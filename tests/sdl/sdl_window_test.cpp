// The SDL backend's window service on SDL's dummy video driver: which
// messages SDL events become, the close request, sleeps, message boxes and
// display modes. No display is needed.
#include "platform/sdl/sdl_window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "../support/midi_writer.h"
#include "platform/sdl/sdl_box.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_session.h"
#include "platform/sdl/sdl_sound.h"

namespace mowa::pf {
namespace {

struct Received {
  Uint message;
  Wparam wparam;
  Lparam lparam;
  bool operator==(const Received&) const = default;
};

Lparam point(int x, int y) { return (y << 16) | x; }

std::vector<Uint> messages(const std::vector<Msg>& msgs) {
  std::vector<Uint> out;
  for (const Msg& m : msgs) out.push_back(m.message);
  return out;
}

class SdlWindowTest : public ::testing::Test {
 public:
  static std::unique_ptr<SdlSession> make_session() {
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "dummy", SDL_HINT_OVERRIDE);
    return std::make_unique<SdlSession>();
  }

  // The window procedure: notes each message, and paints and closes as the
  // program does.
  static Lresult record(void* context, Hwnd hwnd, Uint message, Wparam wparam,
                        Lparam lparam) {
    auto& t = *static_cast<SdlWindowTest*>(context);
    t.handled_.push_back(message);
    if (message == WM_PAINT) {
      PaintStruct ps;
      t.window.BeginPaint(hwnd, &ps);
      t.window.EndPaint(hwnd, &ps);
    }
    return message == WM_CLOSE
               ? t.window.DefWindowProcA(hwnd, message, wparam, lparam)
               : 0;
  }

  void SetUp() override {
    ASSERT_TRUE(session->ok()) << session->error();
    const WndClassA wc{CS_DBLCLKS, record, this, "MowaMowa"};
    ASSERT_NE(window.RegisterClassA(&wc), 0);
    main = window.CreateWindowExA(0, "MowaMowa", "MowaMowa", WS_POPUP, 0, 0, 0,
                                  0, nullptr);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(window.SetWindowPos(main, HWND_TOPMOST, 0, 0, 640, 480,
                                    SWP_SHOWWINDOW));
    drain();
    handled_.clear();
  }

  std::uint32_t sdl_id() { return window.shown_view(main)->id(); }

  // Every message the queue holds now, removed; a release held back for
  // the statements after its press comes once they would have run.
  std::vector<Msg> drain() {
    std::vector<Msg> out;
    Msg m{};
    for (int empty_polls = 0; empty_polls < 12; ++empty_polls) {
      while (window.PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        out.push_back(m);
        if (m.message == WM_PAINT) window.DispatchMessageA(&m);
      }
      if (empty_polls == 9) SDL_Delay(60);
    }
    return out;
  }

  void push_motion(int x, int y) {
    SDL_Event e{SDL_MOUSEMOTION};
    e.motion = {e.type, 0, sdl_id(), 0, 0, x, y, 0, 0};
    SDL_PushEvent(&e);
  }
  void push_button(bool down, Uint8 button, Uint8 clicks) {
    SDL_Event e{down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP};
    const Uint8 state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button = {e.type, 0, sdl_id(), 0, button, state, clicks, 0, 0, 0};
    SDL_PushEvent(&e);
  }
  void click(Uint8 button, Uint8 clicks) {
    push_button(true, button, clicks);
    push_button(false, button, clicks);
  }
  static void push_key(SDL_Keycode key, Uint16 mod = KMOD_NONE,
                       std::uint32_t window_id = 0) {
    SDL_Event e{SDL_KEYDOWN};
    e.key = {e.type, 0, window_id, SDL_PRESSED,
             0,      0, 0,         {SDL_SCANCODE_UNKNOWN, key, mod, 0}};
    SDL_PushEvent(&e);
  }
  // The messages handled since the last call.
  std::vector<Uint> handled() { return std::exchange(handled_, {}); }

  std::unique_ptr<SdlSession> session = make_session();
  Faults faults;
  SoftGdi gdi{faults};
  SdlWindow window{faults, gdi};
  std::vector<Uint> handled_;
  Hwnd main = nullptr;
};

TEST_F(SdlWindowTest, PointerButtonsAndKeysBecomeWindowMessages) {
  struct Case {
    const char* what;
    std::function<void(SdlWindowTest&)> push;
    std::vector<Received> expected;  // message, wparam, lparam
  };
  using T = SdlWindowTest;
  constexpr Uint8 kLeft = SDL_BUTTON_LEFT, kRight = SDL_BUTTON_RIGHT;
  constexpr Wparam kHeld = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;
  // Button messages carry the button's own place, written here as 0.
  const std::vector<Case> cases = {
      // clang-format off
      {"move", [](T& t) { t.push_motion(100, 200); },
       {{WM_MOUSEMOVE, 0, point(100, 200)}}},
      {"move off the picture is held at its edge",
       [](T& t) { t.push_motion(-7, 900); },
       {{WM_MOUSEMOVE, 0, point(0, 479)}}},
      {"left click", [](T& t) { t.push_motion(10, 20); t.click(kLeft, 1); },
       {{WM_MOUSEMOVE, 0, point(10, 20)}, {WM_LBUTTONDOWN, MK_LBUTTON, 0},
        {WM_LBUTTONUP, 0, 0}}},
      {"left double-click",
       [](T& t) { t.click(kLeft, 2); t.push_button(true, kLeft, 3); },
       {{WM_LBUTTONDBLCLK, MK_LBUTTON, 0}, {WM_LBUTTONUP, 0, 0},
        {WM_LBUTTONDOWN, MK_LBUTTON, 0}}},
      {"right click and double-click with left held",
       [](T& t) { t.click(kRight, 1); t.push_button(true, kRight, 2); },
       {{WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 0},
        {WM_RBUTTONUP, MK_LBUTTON, 0},
        {WM_RBUTTONDBLCLK, MK_LBUTTON | MK_RBUTTON, 0}}},
      {"middle button", [](T& t) { t.push_button(true, SDL_BUTTON_MIDDLE, 1); },
       {{WM_MBUTTONDOWN, kHeld, 0}}},
      // At 1280x1024 the picture is twice as large, with 32-pixel bars above
      // and below it; movements are read one by one, as queued ones merge.
      // (Before alt+enter, which changes the window's size.)
      {"resized: in picture pixels", [](T& t) {
         SDL_SetWindowSize(t.window.shown_view(t.main)->window(), 1280, 1024);
         t.drain(); t.push_motion(640, 32 + 480); },
       {{WM_MOUSEMOVE, kHeld, point(320, 240)}}},
      {"on the upper bar: the picture's top edge",
       [](T& t) { t.push_motion(1279, 10); },
       {{WM_MOUSEMOVE, kHeld, point(639, 0)}}},
      {"escape, letters and enter; alt+enter is the platform's", [](T& t) {
         push_key(SDLK_ESCAPE, KMOD_NONE, t.sdl_id()); push_key(SDLK_a);
         push_key(SDLK_RETURN, KMOD_LALT); push_key(SDLK_RETURN); },
       {{WM_KEYDOWN, VK_ESCAPE, 1}, {WM_KEYDOWN, 'A', 1},
        {WM_KEYDOWN, 0x0D, 1}}},
      // clang-format on
  };
  // The cases run in a row: the button flags carry over, as they would.
  for (const Case& c : cases) {
    c.push(*this);
    std::vector<Received> got;
    for (const Msg& m : drain()) {
      EXPECT_EQ(m.hwnd, main) << c.what;
      const bool placed = m.message == WM_MOUSEMOVE || m.message == WM_KEYDOWN;
      got.push_back({m.message, m.wParam, placed ? m.lParam : 0});
    }
    EXPECT_EQ(got, c.expected) << c.what;
  }
}

TEST_F(SdlWindowTest, CloseRequestDestroysTheWindowOnce) {
  SDL_Event close{SDL_WINDOWEVENT}, quit{SDL_QUIT};
  close.window.windowID = sdl_id();
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  SDL_PushEvent(&close);
  SDL_PushEvent(&quit);
  Msg m{};
  while (window.PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
    window.DispatchMessageA(&m);
  EXPECT_EQ(handled(), (std::vector<Uint>{WM_CLOSE, WM_DESTROY}));
  EXPECT_EQ(window.shown_view(main), nullptr);
}

// While a polling scenario waits, the loop sleeps until something happens:
// input, or the end of a sequence that must be notified. A wait that missed
// either would never return.
TEST_F(SdlWindowTest, IdleWaitEndsAtInputOrAtTheEndOfAPlay) {
  ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  SdlSound sound(faults, window);
  window.set_sound(&sound);

  std::thread later([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    push_motion(7, 8);
  });
  // A wake-up for an event that is no message (SDL's own) sleeps again, as
  // the main loop does.
  const auto wait_for_message = [this] {
    std::vector<Msg> messages;
    for (int turn = 0; turn < 100 && messages.empty(); ++turn) {
      window.wait_for_input();
      messages = drain();
    }
    return messages;
  };
  EXPECT_EQ(messages(wait_for_message()), std::vector<Uint>{WM_MOUSEMOVE});
  later.join();

  const std::string midi =
      (std::filesystem::temp_directory_path() / "mowa-idle-wait.mid").string();
  std::ofstream(midi, std::ios::binary) << test::one_note_midi(60, 40);
  for (const std::string& command : {"open " + midi + " type sequencer alias s",
                                     std::string("play s notify")})
    ASSERT_EQ(sound.mciSendStringA(command.c_str(), nullptr, 0, main), 0u);
  const std::vector<Msg> got = wait_for_message();
  EXPECT_EQ(messages(got), std::vector<Uint>{MM_MCINOTIFY});
  EXPECT_EQ(got.at(0).wParam, MCI_NOTIFY_SUCCESSFUL);
  window.set_sound(nullptr);
  std::filesystem::remove(midi);
}

// A sleep queues input without handling it; the quit request comes after
// every queued message, input or posted, and paints after the quit.
TEST_F(SdlWindowTest,
       SleepQueuesInputAndQuitComesAfterQueuedMessagesBeforePaints) {
  push_motion(5, 6);
  push_key(SDLK_ESCAPE);
  window.sleep_ms(20);
  EXPECT_EQ(handled(), std::vector<Uint>{});
  window.PostMessageA(main, WM_KEYDOWN, 'A', 0);
  window.PostQuitMessage(7);
  window.InvalidateRect(main, nullptr, kFalse);
  const std::vector<Msg> got = drain();
  EXPECT_EQ(messages(got), (std::vector<Uint>{WM_MOUSEMOVE, WM_KEYDOWN,
                                              WM_KEYDOWN, WM_QUIT, WM_PAINT}));
  EXPECT_EQ(std::pair(got.at(2).wParam, got.at(3).wParam),
            std::pair(Wparam{'A'}, Wparam{7}));
}

// Pushes its key from SDL's timer thread while the box waits.
Uint32 press_later(Uint32 /*interval*/, void* key) {
  SdlWindowTest::push_key(*static_cast<SDL_Keycode*>(key));
  return 0;
}

// Each box closes by one of its keys, serves its owner meanwhile, and is
// echoed to standard error in UTF-8; one that must fail shows nothing.
TEST_F(SdlWindowTest, BoxClosesByKeyServesItsOwnerAndIsEchoedInUtf8) {
  SdlBox box(faults, window);
  const auto show = [&](SDL_Keycode key, Hwnd owner) {
    const SDL_TimerID timer = SDL_AddTimer(30, press_later, &key);
    testing::internal::CaptureStderr();
    EXPECT_EQ(
        box.MessageBoxA(owner, "\x82\xce\x82\xa2", "from \x90\xaf", MB_OK),
        IDOK);
    SDL_RemoveTimer(timer);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "mowa: [from \xe6\x98\x9f] \xe3\x81\xb0\xe3\x81\x84\n");
  };
  for (SDL_Keycode key :
       {SDLK_RETURN, SDLK_SPACE, SDLK_ESCAPE, SDLK_KP_ENTER}) {
    window.InvalidateRect(main, nullptr, kFalse);
    window.PostMessageA(main, WM_KEYDOWN, 'A', 0);
    window.PostMessageA(main, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
    push_motion(1, 2);  // came before the box: stays the owner's
    show(key, main);
    EXPECT_EQ(handled(), (std::vector<Uint>{WM_PAINT, MM_MCINOTIFY})) << key;
    EXPECT_EQ(messages(drain()), (std::vector<Uint>{WM_KEYDOWN, WM_MOUSEMOVE}))
        << key;
  }
  show(SDLK_RETURN, nullptr);  // no owner: the box opens on its own
  faults.fail_always("MessageBoxA");
  testing::internal::CaptureStderr();
  EXPECT_EQ(box.MessageBoxA(nullptr, "text", "caption", MB_OK), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(SdlWindowTest, DisplayChangeTo640x480IsFullScreen) {
  SdlDisplay display(faults, gdi, window);
  DevModeA mode{};
  // The offered modes always hold 640x480 at the desktop's depth.
  bool found = false;
  for (Dword i = 0; !found && display.EnumDisplaySettingsA(nullptr, i, &mode);
       ++i)
    found = mode.dmPelsWidth == 640 && mode.dmPelsHeight == 480;
  ASSERT_TRUE(found);
  EXPECT_EQ(display.ChangeDisplaySettingsA(&mode, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_TRUE(window.display_fullscreen());
  const Hdc screen = window.GetDC(nullptr);
  EXPECT_EQ(gdi.GetDeviceCaps(screen, HORZRES), 640);
  mode.dmPelsWidth = 1024;
  mode.dmPelsHeight = 768;
  EXPECT_EQ(display.ChangeDisplaySettingsA(&mode, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_FALSE(window.display_fullscreen());
  EXPECT_EQ(gdi.GetDeviceCaps(screen, VERTRES), 768);
  window.ReleaseDC(nullptr, screen);
  faults.fail_always("ChangeDisplaySettingsA");
  EXPECT_EQ(display.ChangeDisplaySettingsA(&mode, 0), DISP_CHANGE_FAILED);
}

TEST(SdlDisplayModes, DesktopAnd640x480AreAlwaysOffered) {
  using Mode = SdlDisplay::Mode;
  struct Case {
    std::vector<Mode> listed;
    Mode desktop;
    std::vector<Mode> offered;
  };
  const Mode desktop{1920, 1080, 24, 60}, vga{640, 480, 24, 60};
  const auto same = [](const Mode& a, const Mode& b) {
    return std::tie(a.width, a.height, a.bits) ==
           std::tie(b.width, b.height, b.bits);
  };
  for (const Case& c : std::vector<Case>{
           {{desktop, vga}, desktop, {desktop, vga}},
           {{desktop}, desktop, {desktop, vga}},
           {{}, {800, 600, 32, 75}, {{800, 600, 32, 75}, {640, 480, 32, 75}}},
           {{{640, 480, 16, 60}}, vga, {{640, 480, 16, 60}, vga}},
       })
    EXPECT_TRUE(std::ranges::equal(
        SdlDisplay::offered_modes(c.listed, c.desktop), c.offered, same));
}

}  // namespace
}  // namespace mowa::pf
