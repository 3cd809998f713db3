#include "platform/sdl/mixer_library.h"

#include <dlfcn.h>

namespace mowa::pf {
namespace {

constexpr const char* kLibraryName = "libSDL2_mixer-2.0.so.0";

template <typename Function>
bool find(void* library, const char* name, Function& function,
          std::string& error) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  if (!function) error = std::string(kLibraryName) + " has no " + name;
  return function != nullptr;
}

bool load_into(MixerLibrary& m, std::string& error) {
  void* library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* why = dlerror();
    error = why ? why : kLibraryName;
    return false;
  }
  return find(library, "Mix_Init", m.Init, error) &&
         find(library, "Mix_Quit", m.Quit, error) &&
         find(library, "Mix_SetSoundFonts", m.SetSoundFonts, error) &&
         find(library, "Mix_OpenAudio", m.OpenAudio, error) &&
         find(library, "Mix_CloseAudio", m.CloseAudio, error) &&
         find(library, "Mix_AllocateChannels", m.AllocateChannels, error) &&
         find(library, "Mix_LoadWAV_RW", m.LoadWAV_RW, error) &&
         find(library, "Mix_FreeChunk", m.FreeChunk, error) &&
         find(library, "Mix_PlayChannelTimed", m.PlayChannelTimed, error) &&
         find(library, "Mix_HaltChannel", m.HaltChannel, error) &&
         find(library, "Mix_Playing", m.Playing, error) &&
         find(library, "Mix_LoadMUSType_RW", m.LoadMUSType_RW, error) &&
         find(library, "Mix_FreeMusic", m.FreeMusic, error) &&
         find(library, "Mix_PlayMusic", m.PlayMusic, error) &&
         find(library, "Mix_HaltMusic", m.HaltMusic, error) &&
         find(library, "Mix_Volume", m.Volume, error) &&
         find(library, "Mix_VolumeMusic", m.VolumeMusic, error);
}

}  // namespace

std::optional<MixerLibrary> MixerLibrary::load(std::string& error) {
  MixerLibrary mixer{};
  if (!load_into(mixer, error)) return std::nullopt;
  return mixer;
}

}  // namespace mowa::pf
