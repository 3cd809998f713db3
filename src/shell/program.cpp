#include "shell/program.h"

#include <algorithm>
#include <iterator>

#include "engine/interpreter.h"
#include "engine/label_table.h"
#include "graphics/graphics.h"
#include "text/text.h"

namespace mowa {
namespace {

constexpr char kClassName[] = "MowaMowa";

// Seeds the random generator, allocates the two images, builds the label
// table and creates the font set. False when a font cannot be created.
bool program_init(Program& p) {
  engine::seed_random(p.script,
                      static_cast<std::uint32_t>(p.pf.clock.time_seconds()));
  graphics::images_allocate(p.gfx);
  engine::script_set_label(p.script);
  return text::font_set_create(p.text);
}

// Releases whatever start-up made; safe when any of it is missing.
void program_end(Program& p) {
  text::font_set_release(p.text);
  graphics::images_release(p.gfx);
}

}  // namespace

Program::Program(pf::Platform& platform)
    : pf(platform),
      report(platform.box, platform.out, shell.main_window),
      script(platform.files, platform.versions, platform.replacement,
             platform.clock, report),
      gfx(platform.gdi, platform.memory, platform.files, platform.window,
          platform.clock, report, shell.main_window),
      text(platform.gdi, platform.window, platform.clock, report, gfx,
           shell.main_window),
      sound(platform.sound, platform.files, report, shell.main_window) {}

void Program::carry_out(engine::CommandId id, const engine::Arguments& a) {
  shell::carry_out(*this, id, a);
}

bool Program::start(int show_command) {
  pf::WindowService& w = pf.window;
  exit_code_ = 0;
  shell::display_mode(*this, 0);
  if (!program_init(*this)) {
    program_end(*this);
    // Leaving early must not leave the display in the program's mode.
    shell::display_mode(*this, 1);
    return false;
  }
  const pf::WndClassA wc{pf::CS_DBLCLKS, shell::window_proc, this, kClassName};
  // Without a window the program leaves at once, releasing what start-up
  // made.
  if (!w.RegisterClassA(&wc)) {
    program_end(*this);
    shell::display_mode(*this, 1);
    return false;
  }
  shell.main_window = w.CreateWindowExA(0, kClassName, "MowaMowa", pf::WS_POPUP,
                                        0, 0, 0, 0, nullptr);
  if (!shell.main_window) {
    program_end(*this);
    shell::display_mode(*this, 1);
    return false;
  }
  w.SetWindowPos(shell.main_window, pf::HWND_TOPMOST, 0, 0, 640, 480,
                 pf::SWP_SHOWWINDOW);
  w.ShowWindow(shell.main_window, show_command);
  w.UpdateWindow(shell.main_window);
  return true;
}

Program::Turn Program::step() {
  pf::WindowService& w = pf.window;
  pf::Msg msg{};
  if (w.PeekMessageA(&msg, nullptr, 0, 0, pf::PM_REMOVE)) {
    if (msg.message == pf::WM_QUIT) {
      exit_code_ = static_cast<int>(msg.wParam);
      return Turn::kQuit;
    }
    w.TranslateMessage(&msg);
    w.DispatchMessageA(&msg);
    return Turn::kMessage;
  }
  if (steps_ >= step_limit_) return Turn::kStepLimit;
  // One idle step: one statement; its end closes the window.
  shell.mouse_read = false;
  const int ended = engine::script_read(script, *this);
  ++steps_;
  if (ended == 1) {
    // Should the post fail, the window hears of its end at once: the
    // scenario would otherwise run on past its end.
    if (w.PostMessageA(shell.main_window, pf::WM_DESTROY, 0, 0) == pf::kFalse) {
      const pf::Msg destroy{shell.main_window, pf::WM_DESTROY, 0, 0, 0, {0, 0}};
      w.DispatchMessageA(&destroy);
    }
    return Turn::kStatement;
  }
  if (!shell.mouse_read) return Turn::kStatement;
  shell::PollVisit visit;
  visit.mouse = shell.mouse;
  visit.return_slot = script.return_slot;
  visit.effects = script.effects + report.reports();
  std::copy(std::begin(script.variables), std::end(script.variables),
            visit.variables.begin());
  return poll_.came_round(script.pointer, visit) ? Turn::kMouseUnchanged
                                                 : Turn::kStatement;
}

void Program::finish() { program_end(*this); }

namespace shell {

bool PollLoop::came_round(std::int32_t after, const PollVisit& now) {
  const auto [it, first] = visits_.try_emplace(after, now);
  if (first) return false;
  const bool same = it->second == now;
  it->second = now;
  return same;
}

RunEnd run(Program& p, int show_command, RunHooks* hooks) {
  RunHooks none;
  RunHooks& h = hooks != nullptr ? *hooks : none;
  RunEnd end = RunEnd::kQuit;
  if (p.start(show_command)) {
    for (;;) {
      const Program::Turn turn = p.step();
      if (turn == Program::Turn::kQuit) break;
      if (!h.after_turn(p, turn)) {
        end = RunEnd::kHooks;
        break;
      }
      if (turn == Program::Turn::kStepLimit) {
        end = RunEnd::kStepLimit;
        break;
      }
      if (turn == Program::Turn::kMouseUnchanged) h.idle_wait();
    }
  }
  p.finish();
  return end;
}

}  // namespace shell
}  // namespace mowa
