#include "shell/win_main.h"

#include "engine/interpreter.h"
#include "engine/label_table.h"
#include "graphics/graphics.h"
#include "shell/display_mode.h"
#include "shell/error_box.h"
#include "shell/texts.h"
#include "shell/window_proc.h"
#include "text/font_set.h"

namespace mowa::shell {
namespace {

constexpr char kClassName[] = "MowaMowa";
constexpr char kCaption[] = "Program";

// One idle step: one statement; its end closes the window. A statement that
// found the mouse as it was at its previous read lets the platform wait for
// input: a scenario waiting for a click would otherwise spin.
void idle_step(Program& p) {
  p.shell.mouse_poll.unchanged = false;
  if (engine::script_read(p) == 1) {
    // Should the post fail, the window hears of its end at once: the
    // scenario would otherwise run on past its end.
    if (p.pf.window.PostMessageA(p.shell.main_window, pf::WM_DESTROY, 0, 0) ==
        pf::kFalse) {
      const pf::Msg destroy{p.shell.main_window, pf::WM_DESTROY, 0, 0, 0, {0, 0}};
      p.pf.window.DispatchMessageA(&destroy);
    }
  } else if (p.shell.mouse_poll.unchanged)
    p.pf.window.idle_hint();
}

}  // namespace

bool program_init(Program& p) {
  engine::seed_random(p.script,
                      static_cast<std::uint32_t>(p.pf.clock.time_seconds()));
  pf::MemoryService& mem = p.pf.memory;
  p.gfx.screen_image = mem.GlobalAlloc(pf::GMEM_MOVEABLE | pf::GMEM_ZEROINIT,
                                       graphics::kImageBytes);
  if (!p.gfx.screen_image) error_box(p, kCaption, texts::kNoBitmapMemory);
  p.gfx.back_image = mem.GlobalAlloc(pf::GMEM_MOVEABLE | pf::GMEM_ZEROINIT,
                                     graphics::kImageBytes);
  if (!p.gfx.back_image) error_box(p, kCaption, texts::kNoBackBitmapMemory);
  engine::script_set_label(p);
  return text::font_set_create(p);
}

void program_end(Program& p) {
  text::font_set_release(p);
  if (p.gfx.window_palette) p.pf.gdi.DeleteObject(p.gfx.window_palette);
  if (p.gfx.screen_image) p.pf.memory.GlobalFree(p.gfx.screen_image);
  if (p.gfx.back_image) p.pf.memory.GlobalFree(p.gfx.back_image);
  p.gfx.window_palette = nullptr;
  p.gfx.screen_image = nullptr;
  p.gfx.back_image = nullptr;
}

int win_main(Program& p, int show_command) {
  pf::WindowService& w = p.pf.window;
  display_mode(p, 0);
  if (!program_init(p)) {
    program_end(p);
    // Leaving early must not leave the display in the program's mode.
    display_mode(p, 1);
    return 0;
  }
  const pf::WndClassA wc{pf::CS_DBLCLKS, window_proc, &p, kClassName};
  // Without a window the program leaves at once, releasing what start-up
  // made.
  if (!w.RegisterClassA(&wc)) {
    program_end(p);
    display_mode(p, 1);
    return 0;
  }
  p.shell.main_window = w.CreateWindowExA(0, kClassName, "MowaMowa",
                                          pf::WS_POPUP, 0, 0, 0, 0, nullptr);
  if (!p.shell.main_window) {
    program_end(p);
    display_mode(p, 1);
    return 0;
  }
  w.SetWindowPos(p.shell.main_window, pf::HWND_TOPMOST, 0, 0, 640, 480,
                 pf::SWP_SHOWWINDOW);
  w.ShowWindow(p.shell.main_window, show_command);
  w.UpdateWindow(p.shell.main_window);

  pf::Msg msg{};
  for (;;) {
    if (w.PeekMessageA(&msg, nullptr, 0, 0, pf::PM_REMOVE)) {
      if (msg.message == pf::WM_QUIT) break;
      w.TranslateMessage(&msg);
      w.DispatchMessageA(&msg);
      continue;
    }
    idle_step(p);
  }
  program_end(p);
  return static_cast<int>(msg.wParam);
}

}  // namespace mowa::shell
