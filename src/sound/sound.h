// The sound state: the path of the MIDI file that loops.
#pragma once

#include "platform/types.h"

namespace mowa::sound {

struct Sound {
  char midi_path[pf::MAX_PATH] = {};
};

}  // namespace mowa::sound
