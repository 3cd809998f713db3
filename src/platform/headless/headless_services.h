// The small services of the headless backend: boxes, the virtual clock, the
// display modes and sound, each recorded in the event log.
#pragma once

#include <vector>

#include "platform/common/display_mode_list.h"
#include "platform/common/faults.h"
#include "platform/common/mci_sequencer.h"
#include "platform/headless/event_log.h"
#include "platform/headless/headless_window.h"
#include "platform/platform.h"
#include "platform/softgdi/soft_gdi.h"

namespace mowa::pf {

// Every box is recorded and closed with OK at once.
class HeadlessBox final : public BoxService {
 public:
  HeadlessBox(Faults& faults, EventLog& log, HeadlessWindow& window)
      : faults_(faults), log_(log), window_(window) {}
  int MessageBoxA(Hwnd owner, const char* text, const char* caption,
                  Uint type) override;

 private:
  Faults& faults_;
  EventLog& log_;
  HeadlessWindow& window_;
};

// Sound requests are logged. The MCI sequencer devices follow their
// commands, and a play ends when the virtual clock passes the length of its
// sequence.
class HeadlessSound final : public SoundService {
 public:
  HeadlessSound(Faults& faults, EventLog& log, WindowService& window)
      : faults_(faults), log_(log), sequencer_(window) {}
  Bool PlaySoundA(const char* sound, void* module, Dword flags) override;
  McError mciSendStringA(const char* command, char* return_string,
                         Uint return_length, Hwnd callback) override;
  Bool mciGetErrorStringA(McError error, char* text, Uint length) override;
  // Told by the clock whenever virtual time has passed: queues the
  // notifications of the plays that have ended by now.
  void advance(std::int64_t now_ms) { sequencer_.advance(now_ms); }

 private:
  Faults& faults_;
  EventLog& log_;
  MciSequencer sequencer_;
};

// Time passes only when the program sleeps.
class HeadlessClock final : public ClockService {
 public:
  HeadlessClock(EventLog& log, HeadlessWindow& window, HeadlessSound& sound)
      : log_(log), window_(window), sound_(sound) {}
  void Sleep(Dword delay_ms) override;
  std::int64_t time_seconds() override;
  // The calendar time at the start of the run.
  void set_start_time(std::int64_t seconds) { start_seconds_ = seconds; }

 private:
  EventLog& log_;
  HeadlessWindow& window_;
  HeadlessSound& sound_;
  std::int64_t start_seconds_ = 0;
};

// A display that starts at 1024x768 in 32 bits and offers the usual modes.
class HeadlessDisplay final : public DisplayService {
 public:
  HeadlessDisplay(Faults& faults, EventLog& log, SoftGdi& gdi);
  Bool EnumDisplaySettingsA(const char* device, Dword mode_num,
                            DevModeA* mode) override;
  Long ChangeDisplaySettingsA(DevModeA* mode, Dword flags) override;

 private:
  using Mode = DisplayMode;
  Faults& faults_;
  EventLog& log_;
  SoftGdi& gdi_;
  std::vector<Mode> modes_;
};

}  // namespace mowa::pf
