// A WAV file as far as the program reads it: play_wav hands it to the real
// program's sound service (SDL_mixer, on SDL's silent dummy audio driver),
// once and looping, then stops it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "fuzz_program.h"
#include "platform/headless/headless_platform.h"
#include "platform/sdl/sdl_sound.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace mowa;
  // Opening the audio device once keeps the runs fast; a WAV sound posts no
  // notification to the window it is given.
  static pf::HeadlessPlatform idle;
  static const std::unique_ptr<pf::SdlSound> sound = [] {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    fuzz::enter_scratch_folder();
    return std::make_unique<pf::SdlSound>(idle.faults, idle.window);
  }();
  fuzz::put_file("w.wav", {reinterpret_cast<const char*>(data), size});
  fuzz::put_file("data/mowa.snr",
                 "play_wav\"w.wav,0\"\n"
                 "play_wav\"w.wav,1\"\n"
                 "wait\"50\"\n"
                 "stop_wav\n"
                 "end\n");
  fuzz::run_program(100, sound.get());
  return 0;
}

// SDL keeps a few small blocks of its audio set-up until the process ends.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libSDL2\n";
}
