// The platform seam: every service that the program draws on.
#pragma once

#include <cstdio>

#include "platform/box.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/file_versions.h"
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
  FileVersions& versions;           // the scenario file's line index
  FileReplacement& replacement;     // the save file written whole or not at all
  std::FILE* out;  // standard output, where the trace lines go
};

}  // namespace mowa::pf
