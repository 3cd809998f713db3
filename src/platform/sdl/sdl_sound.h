// WAV and MIDI through SDL2_mixer (FluidSynth for MIDI), behind the MCI
// command strings the program sends.
#pragma once

#include <memory>

#include "platform/common/faults.h"
#include "platform/platform.h"

namespace mowa::pf {

class SdlSound final : public SoundService {
 public:
  // Notifications are posted to their window through `window`, always from
  // the thread that calls pump().
  SdlSound(Faults& faults, WindowService& window);
  ~SdlSound() override;
  SdlSound(const SdlSound&) = delete;
  SdlSound& operator=(const SdlSound&) = delete;

  Bool PlaySoundA(const char* sound, void* module, Dword flags) override;
  McError mciSendStringA(const char* command, char* return_string,
                         Uint return_length, Hwnd callback) override;
  Bool mciGetErrorStringA(McError error, char* text, Uint length) override;

  // Called by the window service on the main thread whenever it polls its
  // queue: posts MM_MCINOTIFY for every play that has ended since.
  void pump();
  // How long until pump() next has a play to notify, or a step of a fade
  // to take: 0 when one has ended already, -1 when nothing plays.
  int ms_until_next_end() const;

  // The reader's volume for music and sounds together, 0..128; the
  // scenario's requests play as before, only louder or quieter.
  void set_volume(int mixer_volume);
  // Fades the music out while the window is minimised, in again after.
  void hush_music(bool hushed);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace mowa::pf
