// Sound of the browser player. WAV files play through the page's Web Audio;
// the MCI sequencer devices follow their commands on the page's clock, so
// that a play ends, notifies and loops exactly as on the desktop (the music
// itself is not heard yet).
#pragma once

#include <cstdint>

#include "platform/common/faults.h"
#include "platform/common/mci_sequencer.h"
#include "platform/platform.h"

namespace mowa::pf {

class WebSound final : public SoundService {
 public:
  WebSound(Faults& faults, WindowService& window)
      : faults_(faults), sequencer_(window) {}
  Bool PlaySoundA(const char* sound, void* module, Dword flags) override;
  McError mciSendStringA(const char* command, char* return_string,
                         Uint return_length, Hwnd callback) override;
  Bool mciGetErrorStringA(McError error, char* text, Uint length) override;

  // Queues the notifications of the plays that have ended by now.
  void advance();
  // Milliseconds until the next play ends; -1 when none is playing.
  int ms_until_next_end() const;

 private:
  Faults& faults_;
  MciSequencer sequencer_;
};

}  // namespace mowa::pf
