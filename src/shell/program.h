// The whole program's state: one of each subsystem and the platform it runs
// on. A test builds a fresh one.
#pragma once

#include "engine/script.h"
#include "graphics/graphics.h"
#include "platform/platform.h"
#include "shell/shell.h"
#include "sound/sound.h"
#include "text/text.h"

namespace mowa {

struct Program {
  explicit Program(pf::Platform& platform) : pf(platform) {}
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  pf::Platform& pf;
  engine::Script script;
  graphics::Graphics gfx;
  text::Text text;
  sound::Sound sound;
  shell::Shell shell;
};

}  // namespace mowa
