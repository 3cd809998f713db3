// SDL2_mixer, opened the first time a sound is asked for: it brings in the
// MIDI synthesiser and every decoder with their own libraries, which a
// presentation without sound never needs and which would otherwise all be
// loaded before the first picture.
#pragma once

#include <SDL_mixer.h>

#include <optional>
#include <string>

namespace mowa::pf {

struct MixerLibrary {
  // The library's functions; nothing when it cannot be loaded, and `error`
  // says why. The library stays loaded until the process ends: the
  // libraries it brings in register exit handlers of their own.
  static std::optional<MixerLibrary> load(std::string& error);

  decltype(&Mix_Init) Init;
  decltype(&Mix_Quit) Quit;
  decltype(&Mix_SetSoundFonts) SetSoundFonts;
  decltype(&Mix_OpenAudio) OpenAudio;
  decltype(&Mix_CloseAudio) CloseAudio;
  decltype(&Mix_AllocateChannels) AllocateChannels;
  decltype(&Mix_LoadWAV_RW) LoadWAV_RW;
  decltype(&Mix_FreeChunk) FreeChunk;
  decltype(&Mix_PlayChannelTimed) PlayChannelTimed;
  decltype(&Mix_HaltChannel) HaltChannel;
  decltype(&Mix_Playing) Playing;
  decltype(&Mix_LoadMUSType_RW) LoadMUSType_RW;
  decltype(&Mix_FreeMusic) FreeMusic;
  decltype(&Mix_PlayMusic) PlayMusic;
  decltype(&Mix_HaltMusic) HaltMusic;
  decltype(&Mix_Volume) Volume;
  decltype(&Mix_VolumeMusic) VolumeMusic;
};

}  // namespace mowa::pf
