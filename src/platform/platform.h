// The platform seam: every service that the program draws on.
#pragma once

#include <cstdio>

#include "platform/box.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/gdi.h"
#include "platform/memory.h"
#include "platform/sound.h"
#include "platform/window.h"

namespace mowa::pf {

struct Platform {
  BoxService& box;
  ClockService& clock;
  WindowService& window;
  GdiService& gdi;
  DisplayService& display;
  SoundService& sound;
  MemoryService& memory;
  FileService& files;
  std::FILE* out;  // standard output, where the trace lines go
};

}  // namespace mowa::pf
