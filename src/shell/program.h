// The whole program: the parts it is made of, composed over one platform,
// and the main loop as one turn at a time, which both runners drive.
#pragma once

#include <cstdint>
#include <limits>

#include "engine/commands.h"
#include "engine/script.h"
#include "graphics/graphics.h"
#include "platform/platform.h"
#include "report/error_box.h"
#include "shell/poll_loop.h"
#include "shell/shell.h"
#include "sound/sound.h"
#include "text/text.h"

namespace mowa {

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

  // From the display switch to the shown window. False when the program
  // ends before its main loop; exit_code() then holds its code.
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
// Carries out a command the engine hands on, through the shell's own rows.
void carry_out(Program& p, engine::CommandId id, const engine::Arguments& a);
}  // namespace shell

}  // namespace mowa
