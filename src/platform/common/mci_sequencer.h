// The MCI sequencer devices behind mciSendStringA: their aliases, their
// plays and the MM_MCINOTIFY messages that end them. A backend supplies the
// time and, when it can, the sound itself.
//
// A play ends when the backend's clock passes the sequence's length, read
// from the file's tempo map, whether or not it is heard: a synthesiser's own
// end comes late (FluidSynth reports it seconds after the last event, to let
// the last notes ring), which would put a gap into every pass of a loop, and
// without a sound device the loop must still go round.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/types.h"

namespace mowa::pf {

// What a backend does to make a device heard.
class SequenceOutput {
 public:
  virtual ~SequenceOutput() = default;
  // The device was opened on this file; the bytes live only for the call.
  virtual void load(Uint device_id, std::span<const std::uint8_t> midi) = 0;
  // Sounds the sequence from its beginning.
  virtual void start(Uint device_id) = 0;
  // Stops the device if it sounds and lets its file go.
  virtual void unload(Uint device_id) = 0;
};

// Why the sequencer would not open the file at `path` (0 when it would):
// MCIERR_FILE_NOT_FOUND, or MCIERR_INVALID_FILE for a file that is no
// sequence it can play.
McError sequence_file_error(const std::string& path);

class MciSequencer {
 public:
  // Notifications are posted through `window`. Without an output nothing is
  // heard and every play still takes its time.
  explicit MciSequencer(WindowService& window, SequenceOutput* output = nullptr)
      : window_(window), output_(output) {}

  // Carries out one command string at `now_ms` on the backend's clock and
  // returns 0 or an MCI error code. `callback` gets the notification that a
  // "notify" asks for.
  McError send(const char* command, Hwnd callback, std::int64_t now_ms);

  // Ends every play whose sequence has run out by `now_ms`.
  void advance(std::int64_t now_ms);

  // When the next play ends, or -1 when none is playing.
  std::int64_t next_end_ms() const;
  std::size_t open_devices() const { return devices_.size(); }

  // Files larger than this are not taken for sequences.
  static constexpr std::size_t kMaxFileBytes = 16u << 20;

 private:
  struct Device {
    Uint id = 0;
    std::string alias;
    std::int64_t length_ms = 0;
    bool playing = false;
    std::int64_t end_ms = 0;
    Hwnd notify_window = nullptr;  // of the play in progress, if it asked
  };

  McError open(const std::string& path, const std::string& alias);
  void play(Device& device, Hwnd notify_window, std::int64_t now_ms);
  void close(std::size_t index);
  void end_play(Device& device);
  void notify(Hwnd window, Wparam code, Uint device_id);
  Device* find(const std::string& alias);

  WindowService& window_;
  SequenceOutput* output_;
  std::vector<Device> devices_;
  Uint next_id_ = 1;
};

}  // namespace mowa::pf
