// The sound part: the path of the MIDI file that loops, and the services it
// plays and names files with.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "platform/types.h"
#include "report/error_box.h"

namespace mowa::sound {

struct Sound {
  Sound(pf::SoundService& sound_service, pf::FileService& file_service,
        Reporter& reporter, const pf::Hwnd& main_window_handle)
      : sound(sound_service),
        files(file_service),
        report(reporter),
        main_window(main_window_handle) {}
  Sound(const Sound&) = delete;
  Sound& operator=(const Sound&) = delete;

  pf::SoundService& sound;
  pf::FileService& files;  // the current directory, for the MIDI path
  Reporter& report;
  const pf::Hwnd& main_window;  // told when a MIDI play ends

  char midi_path[pf::MAX_PATH] = {};
};

void play_wav(Sound& s, const char* file, std::int32_t loop);
void stop_wav(Sound& s);
void play_midi(Sound& s, const char* path);
void stop_midi(Sound& s);
// Run when the sequence has played to its end: close, reopen, play again.
void replay_midi(Sound& s);

}  // namespace mowa::sound
