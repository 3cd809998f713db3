// Sound of the browser player. WAV files play through the page's Web Audio;
// the MCI sequencer devices follow their commands on the page's clock, so
// that a play ends, notifies and loops exactly as on the desktop, and hand
// their sequences to the page's General MIDI synthesiser to be heard.
#pragma once

#include <cstdint>
#include <span>

#include "platform/common/faults.h"
#include "platform/common/mci_sequencer.h"
#include "platform/platform.h"

namespace mowa::pf {

class WebSound final : public SoundService, private SequenceOutput {
 public:
  WebSound(Faults& faults, WindowService& window)
      : faults_(faults), sequencer_(window, this) {}
  Bool PlaySoundA(const char* sound, void* module, Dword flags) override;
  McError mciSendStringA(const char* command, char* return_string,
                         Uint return_length, Hwnd callback) override;
  Bool mciGetErrorStringA(McError error, char* text, Uint length) override;

  // Queues the notifications of the plays that have ended by now.
  void advance();
  // Milliseconds until the next play ends; -1 when none is playing.
  int ms_until_next_end() const;

 private:
  // The page keeps each device's bytes until it is unloaded; the synthesiser
  // sounds one of them at a time. Its own end of a sequence notifies
  // nothing: the sequencer's clock ends every pass.
  void load(Uint device_id, std::span<const std::uint8_t> midi) override;
  void start(Uint device_id) override;
  void unload(Uint device_id) override;

  Faults& faults_;
  MciSequencer sequencer_;
};

}  // namespace mowa::pf
