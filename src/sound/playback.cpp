#include "sound/playback.h"

namespace mowa::sound {

void play_wav(Program&, const char*, std::int32_t) {}
void stop_wav(Program&) {}
void play_midi(Program&, const char*) {}
void stop_midi(Program&) {}
void replay_midi(Program&) {}

}  // namespace mowa::sound
