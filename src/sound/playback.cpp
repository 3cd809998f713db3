#include "sound/sound.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "report/error_box.h"
#include "report/texts.h"

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

pf::McError send(Sound& s, const char* command, pf::Hwnd window) {
  return s.sound.mciSendStringA(command, nullptr, 0, window);
}

void show_mci_error(Sound& s, pf::McError error, const char* caption) {
  char text[pf::MAX_PATH] = {};
  s.sound.mciGetErrorStringA(error, text, sizeof text);
  error_box(s.report, caption, text);
}

// Opens the MIDI path with `open_command` and plays it with a notification
// to the main window; a failure is shown under `caption`, and a device that
// opened but would not play is closed again.
void open_and_play(Sound& s, const char* open_command, const char* caption) {
  const pf::Hwnd main = s.main_window;
  if (const pf::McError error = send(s, open_command, main)) {
    show_mci_error(s, error, caption);
    return;
  }
  if (const pf::McError error = send(s, kPlay, main)) {
    show_mci_error(s, error, caption);
    send(s, kClose, nullptr);
  }
}

// The current directory as the platform reports it; false when it cannot.
bool current_directory(Sound& s, std::string& directory) {
  char buffer[pf::MAX_PATH] = {};
  const pf::Dword length = s.files.GetCurrentDirectoryA(sizeof buffer, buffer);
  if (length == 0) return false;
  if (length < sizeof buffer) {
    directory.assign(buffer, length);
    return true;
  }
  // Too long for any MIDI path; fetched whole only to be named in the box.
  std::string whole(length, '\0');
  const pf::Dword got = s.files.GetCurrentDirectoryA(length, whole.data());
  if (got == 0 || got >= length) return false;
  whole.resize(got);
  directory = whole;
  return true;
}

}  // namespace

void play_wav(Sound& s, const char* file, std::int32_t loop) {
  s.sound.PlaySoundA(file, nullptr,
                     loop == 0 ? kWavFlags : kWavFlags | pf::SND_LOOP);
}

void stop_wav(Sound& s) { s.sound.PlaySoundA(nullptr, nullptr, kWavFlags); }

void play_midi(Sound& s, const char* path) {
  // There is no first character to drop: nothing is formed or opened, and
  // the sequence that plays, if any, goes on looping.
  if (path[0] == '\0') {
    error_box(s.report, kCaption, texts::kEmptyMidiPath);
    return;
  }
  std::string midi_path;
  if (!current_directory(s, midi_path)) {
    call_failed(s.report, kCaption, "GetCurrentDirectoryA");
    return;
  }
  // The path's first character is dropped (.\music.mid becomes the current
  // directory plus \music.mid): kept on purpose, every scenario writes its
  // MIDI paths for it.
  midi_path += path + 1;
  if (midi_path.size() > kMaxMidiPathBytes) {
    error_box_with(s.report, kCaption, texts::kMidiPathTooLongFmt,
                   midi_path.c_str());
    return;
  }
  std::memcpy(s.midi_path, midi_path.c_str(), midi_path.size() + 1);
  CommandText command;
  std::snprintf(command, sizeof command, kOpenFormat, s.midi_path);
  open_and_play(s, command, command);
}

void stop_midi(Sound& s) { send(s, kClose, s.main_window); }

void replay_midi(Sound& s) {
  send(s, kClose, nullptr);
  CommandText command;
  std::snprintf(command, sizeof command, kOpenFormat, s.midi_path);
  open_and_play(s, command, kReplayCaption);
}

}  // namespace mowa::sound
