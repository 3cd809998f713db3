// The whole program: the parts it is made of, composed over one platform,
// and the main loop as one turn at a time, which both runners drive.
#pragma once

#include <cstdint>
#include <limits>

#include "engine/command_sink.h"
#include "engine/script.h"
#include "graphics/graphics.h"
#include "platform/platform.h"
#include "report/error_box.h"
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
    // As kStatement, and the statement found the mouse as it was at its
    // previous read: the runner may wait for input.
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
  std::int32_t mouse_state() override;
  void mouse_position(std::int32_t& x, std::int32_t& y) override;
  void boxfill(std::int32_t x1, std::int32_t y1, std::int32_t x2,
               std::int32_t y2, std::int32_t colour) override;
  void box(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
           std::int32_t colour) override;
  void screen_black_out(std::int32_t delay_ms) override;
  void screen_black_in(std::int32_t delay_ms) override;
  void gload(const char* file, std::int32_t x, std::int32_t y,
             std::int32_t mode) override;
  void character(const char* file, std::int32_t x, std::int32_t y,
                 std::int32_t opaque, std::int32_t fifth) override;
  void screen_copy(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                   std::int32_t y2, std::int32_t dx, std::int32_t dy) override;
  void screen_big_small() override;
  void message(const char* text) override;
  void message_out() override;
  void number_write(std::int32_t value, std::int32_t x, std::int32_t y,
                    std::int32_t size, std::int32_t colour,
                    std::int32_t opaque) override;
  void text_write(const char* text, std::int32_t x, std::int32_t y,
                  std::int32_t size, std::int32_t colour,
                  std::int32_t opaque) override;
  void force_write() override;
  void play_wav(const char* file, std::int32_t loop) override;
  void stop_wav() override;
  void play_midi(const char* path) override;
  void stop_midi() override;

 private:
  int exit_code_ = 0;
  std::uint64_t steps_ = 0;
  std::uint64_t step_limit_ = std::numeric_limits<std::uint64_t>::max();
};

}  // namespace mowa
