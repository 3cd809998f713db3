// WAV sounds and the looping MIDI sequence.
#pragma once

#include <cstdint>

#include "shell/program.h"

namespace mowa::sound {

void play_wav(Program& p, const char* file, std::int32_t loop);
void stop_wav(Program& p);
void play_midi(Program& p, const char* path);
void stop_midi(Program& p);
// Run when the sequence has played to its end: close, reopen, play again.
void replay_midi(Program& p);

}  // namespace mowa::sound
