// The whole program: the parts it is made of, composed over one platform;
// its start-up, the main loop as one turn at a time, and its teardown; and
// `run`, the loop every runner drives it with.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>

#include "engine/commands.h"
#include "engine/script.h"
#include "graphics/graphics.h"
#include "platform/platform.h"
#include "report/error_box.h"
#include "shell/shell.h"
#include "sound/sound.h"
#include "text/text.h"

namespace mowa {

namespace shell {

// Whether the scenario only polls the mouse. A scenario waiting for a click
// runs a loop of statements that read the mouse, compare and jump. When such
// a read comes round again and finds the mouse, the variables and the return
// slot as at its previous run, with nothing but reads, comparisons, jumps and
// arithmetic in between, every further turn would repeat the last one until
// input arrives: the main loop may sleep until then. Two reads that merely
// follow each other (the position right after the buttons) are not a loop.
struct PollVisit {
  Mouse mouse;
  std::int32_t return_slot = 0;
  // Statements with effects, boxes and trace lines so far.
  std::uint64_t effects = 0;
  std::array<std::int32_t, engine::kVariableCount> variables{};
  bool operator==(const PollVisit&) const = default;
};

class PollLoop {
 public:
  // After a statement that read the mouse; `after` is the script pointer
  // past it, which names the statement whichever way it was reached. True
  // when that statement's previous run saw the same.
  bool came_round(std::int32_t after, const PollVisit& now);

 private:
  std::map<std::int32_t, PollVisit> visits_;
};

}  // namespace shell

class Program final : public engine::CommandSink {
 public:
  explicit Program(pf::Platform& platform);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // What one turn of the main loop did.
  enum class Turn {
    kMessage,    // handled one message
    kStatement,  // the queue was empty: ran one scenario statement
    // As kStatement, and the statement read the mouse in a loop that only
    // polls, finding everything as at its previous run: until input arrives
    // (or a sequence ends) nothing changes, and the runner may wait.
    kMouseUnchanged,
    // The queue was empty but the step limit is reached: nothing ran.
    kStepLimit,
    kQuit,  // the quit message arrived
  };

  // From the display switch to the shown window: seeds the random
  // generator, allocates the two images, builds the label table, creates
  // the font set and the main window. False when the program ends before
  // its main loop; exit_code() then holds its code.
  bool start(int show_command);
  // One turn: one message removed and dispatched, or with none one statement.
  Turn step();
  // Teardown: releases whatever start-up made. Safe after a failed start.
  void finish();
  int exit_code() const { return exit_code_; }

  // Statements run so far, and how many the runner allows.
  std::uint64_t steps() const { return steps_; }
  void set_step_limit(std::uint64_t steps) { step_limit_ = steps; }

  pf::Platform& pf;
  shell::Shell shell;  // first: the parts below read its main window
  Reporter report;
  engine::Script script;
  graphics::Graphics gfx;
  text::Text text;
  sound::Sound sound;

  // ---- engine::CommandSink ----
  void carry_out(engine::CommandId id, const engine::Arguments& a) override;

 private:
  int exit_code_ = 0;
  std::uint64_t steps_ = 0;
  std::uint64_t step_limit_ = std::numeric_limits<std::uint64_t>::max();
  shell::PollLoop poll_;
};

namespace shell {

// What the runners differ in while `run` drives the program. Each hook does
// nothing unless a runner gives it something to do.
class RunHooks {
 public:
  virtual ~RunHooks() = default;
  // The scenario only polls an unchanged mouse: the runner may sleep until
  // input arrives (or a sequence ends).
  virtual void idle_wait() {}
  // After every turn but the last (the quit message). False ends the run
  // at once: a debugger's client has gone, or the quit was taken while the
  // program stood still.
  virtual bool after_turn(const Program& /*p*/, Program::Turn /*turn*/) {
    return true;
  }
};

// The runners with a window of their own: a scenario that only polls an
// unchanged mouse sleeps until input arrives.
class WaitForInput final : public RunHooks {
 public:
  explicit WaitForInput(pf::IdleWait& window) : window_(window) {}
  void idle_wait() override { window_.wait_for_input(); }

 private:
  pf::IdleWait& window_;
};

// A runner that only needs to hear of each turn: headless runs keep their
// scripted input keyed to the statements run.
class EachTurn final : public RunHooks {
 public:
  explicit EachTurn(std::function<void(const Program&)> heard)
      : heard_(std::move(heard)) {}
  bool after_turn(const Program& p, Program::Turn /*turn*/) override {
    heard_(p);
    return true;
  }

 private:
  std::function<void(const Program&)> heard_;
};

// How a run ended.
enum class RunEnd {
  kQuit,       // the quit message: exit_code() is the program's
  kStepLimit,  // the step limit was reached
  kHooks,      // a hook ended it
};

// Starts the program, turns the main loop until the quit message or the
// step limit, then tears it down.
RunEnd run(Program& p, int show_command, RunHooks* hooks = nullptr);

// Carries out a command the engine hands on, through the shell's own rows.
void carry_out(Program& p, engine::CommandId id, const engine::Arguments& a);

// The main window's procedure: paints, Escape, the mouse, the MIDI loop and
// the farewell. `context` is the Program.
pf::Lresult window_proc(void* context, pf::Hwnd hwnd, pf::Uint message,
                        pf::Wparam wparam, pf::Lparam lparam);

// 0: switch to 640x480 at the current depth and remember the mode in force;
// 1: restore the remembered mode.
void display_mode(Program& p, std::uint8_t mode);
// Zooms into the picture's top-left corner and back out, twenty frames.
void screen_big_small(Program& p);

}  // namespace shell
}  // namespace mowa
