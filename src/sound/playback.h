// WAV sounds and the looping MIDI sequence.
#pragma once

#include <cstdint>

#include "sound/sound.h"

namespace mowa::sound {

void play_wav(Sound& s, const char* file, std::int32_t loop);
void stop_wav(Sound& s);
void play_midi(Sound& s, const char* path);
void stop_midi(Sound& s);
// Run when the sequence has played to its end: close, reopen, play again.
void replay_midi(Sound& s);

}  // namespace mowa::sound
