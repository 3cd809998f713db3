#include "sound/playback.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "shell/error_box.h"
#include "shell/texts.h"

namespace mowa::sound {
namespace {

// The MIDI path never outgrows the open command's buffer: at most 227 bytes
// with the 32 of the command's own words and the terminator.
constexpr std::size_t kMaxMidiPathBytes = 227;
constexpr char kOpenFormat[] = "open %.227s type sequencer alias myseq";
static_assert(sizeof kOpenFormat - sizeof "%.227s" + kMaxMidiPathBytes + 1 ==
              pf::MAX_PATH);
constexpr char kPlay[] = "play myseq notify";
constexpr char kClose[] = "close myseq";
constexpr char kCaption[] = "play_midi";
constexpr char kReplayCaption[] = "MIDI_ERROR";
constexpr pf::Dword kWavFlags = pf::SND_FILENAME | pf::SND_ASYNC;

using CommandText = char[pf::MAX_PATH];

pf::McError send(Program& p, const char* command, pf::Hwnd window) {
  return p.pf.sound.mciSendStringA(command, nullptr, 0, window);
}

void show_mci_error(Program& p, pf::McError error, const char* caption) {
  char text[pf::MAX_PATH] = {};
  p.pf.sound.mciGetErrorStringA(error, text, sizeof text);
  error_box(p, caption, text);
}

// Opens the MIDI path with `open_command` and plays it with a notification
// to the main window; a failure is shown under `caption`, and a device that
// opened but would not play is closed again.
void open_and_play(Program& p, const char* open_command, const char* caption) {
  const pf::Hwnd main = p.shell.main_window;
  if (const pf::McError error = send(p, open_command, main)) {
    show_mci_error(p, error, caption);
    return;
  }
  if (const pf::McError error = send(p, kPlay, main)) {
    show_mci_error(p, error, caption);
    send(p, kClose, nullptr);
  }
}

// The current directory as the platform reports it; false when it cannot.
bool current_directory(Program& p, std::string& directory) {
  char buffer[pf::MAX_PATH] = {};
  const pf::Dword length =
      p.pf.files.GetCurrentDirectoryA(sizeof buffer, buffer);
  if (length == 0) return false;
  if (length < sizeof buffer) {
    directory.assign(buffer, length);
    return true;
  }
  // Too long for any MIDI path; fetched whole only to be named in the box.
  std::string whole(length, '\0');
  const pf::Dword got = p.pf.files.GetCurrentDirectoryA(length, whole.data());
  if (got == 0 || got >= length) return false;
  whole.resize(got);
  directory = whole;
  return true;
}

}  // namespace

void play_wav(Program& p, const char* file, std::int32_t loop) {
  p.pf.sound.PlaySoundA(file, nullptr,
                        loop == 0 ? kWavFlags : kWavFlags | pf::SND_LOOP);
}

void stop_wav(Program& p) {
  p.pf.sound.PlaySoundA(nullptr, nullptr, kWavFlags);
}

void play_midi(Program& p, const char* path) {
  // There is no first character to drop: nothing is formed or opened, and
  // the sequence that plays, if any, goes on looping.
  if (path[0] == '\0') {
    error_box(p, kCaption, texts::kEmptyMidiPath);
    return;
  }
  std::string midi_path;
  if (!current_directory(p, midi_path)) {
    call_failed(p, kCaption, "GetCurrentDirectoryA");
    return;
  }
  midi_path += path + 1;
  if (midi_path.size() > kMaxMidiPathBytes) {
    error_box_with(p, kCaption, texts::kMidiPathTooLongFmt, midi_path.c_str());
    return;
  }
  std::memcpy(p.sound.midi_path, midi_path.c_str(), midi_path.size() + 1);
  CommandText command;
  std::snprintf(command, sizeof command, kOpenFormat, p.sound.midi_path);
  open_and_play(p, command, command);
}

void stop_midi(Program& p) { send(p, kClose, p.shell.main_window); }

void replay_midi(Program& p) {
  send(p, kClose, nullptr);
  CommandText command;
  std::snprintf(command, sizeof command, kOpenFormat, p.sound.midi_path);
  open_and_play(p, command, kReplayCaption);
}

}  // namespace mowa::sound
