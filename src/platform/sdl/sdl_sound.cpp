#include "platform/sdl/sdl_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "platform/common/host_path.h"
#include "platform/common/mci_errors.h"
#include "platform/common/mci_sequencer.h"
#include "platform/common/sound_file.h"
#include "platform/sdl/mixer_library.h"

namespace mowa::pf {
namespace {

constexpr int kFrequency = 44100;
constexpr int kChunkSamples = 1024;  // about 23 ms of latency
constexpr int kWavChannel = 0;       // the one PlaySound sound

// Debian's General MIDI soundfonts, the small one first: FluidSynth loads the
// whole soundfont with every sequence opened, and the loop reopens its
// sequence at every pass.
constexpr const char* kSoundfonts[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
};

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

// The default sound, as a mono 16-bit WAV file: two struck bell tones a fifth
// apart, the second 120 ms after the first, dying away within 0.6 s.
std::vector<std::uint8_t> chime_wav() {
  struct Tone {
    double hz, start_s, decay_s, level;
  };
  constexpr Tone kTones[] = {{1046.5, 0.0, 0.12, 0.30},
                             {1568.0, 0.12, 0.16, 0.26}};
  constexpr double kAttack_s = 0.004;  // no click at the strike
  constexpr int kRate = 44100;
  constexpr int kSamples = kRate * 6 / 10;
  std::vector<std::uint8_t> wav;
  const std::uint32_t data_bytes = kSamples * 2;
  for (const char c : std::string("RIFF"))
    wav.push_back(static_cast<std::uint8_t>(c));
  put32(wav, 36 + data_bytes);
  for (const char c : std::string("WAVEfmt "))
    wav.push_back(static_cast<std::uint8_t>(c));
  put32(wav, 16);
  put16(wav, 1);  // PCM
  put16(wav, 1);  // mono
  put32(wav, kRate);
  put32(wav, kRate * 2);
  put16(wav, 2);
  put16(wav, 16);
  for (const char c : std::string("data"))
    wav.push_back(static_cast<std::uint8_t>(c));
  put32(wav, data_bytes);
  for (int i = 0; i < kSamples; ++i) {
    const double t = static_cast<double>(i) / kRate;
    double v = 0;
    for (const Tone& tone : kTones) {
      const double dt = t - tone.start_s;
      if (dt < 0) continue;
      const double envelope =
          std::exp(-dt / tone.decay_s) * std::min(1.0, dt / kAttack_s);
      const double phase = 2 * std::numbers::pi * tone.hz * dt;
      // A soft octave partial makes it ring like a bell, not a beep.
      v += tone.level * envelope *
           (std::sin(phase) + 0.25 * std::sin(2 * phase));
    }
    const auto sample = static_cast<std::int16_t>(
        std::lround(std::clamp(v, -1.0, 1.0) * 32767.0));
    put16(wav, static_cast<std::uint16_t>(sample));
  }
  return wav;
}

bool file_exists(const char* path) {
  SDL_RWops* rw = SDL_RWFromFile(path, "rb");
  if (!rw) return false;
  SDL_RWclose(rw);
  return true;
}

}  // namespace

struct SdlSound::Impl final : SequenceOutput {
  Impl(Faults& f, WindowService& window) : faults(f), sequencer(window, this) {}

  ~Impl() override {
    if (mixer_open) {
      mix->HaltChannel(-1);
      mix->HaltMusic();
      if (wav) mix->FreeChunk(wav);
      if (chime) mix->FreeChunk(chime);
      for (const auto& [id, loaded] : musics) mix->FreeMusic(loaded.music);
      if (spare.music) mix->FreeMusic(spare.music);
      mix->CloseAudio();
    }
    if (mix) mix->Quit();
    if (audio_subsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  // Nothing is opened before the first sound: the audio device and the
  // mixer at the first sound of any kind, the synthesiser at the first MIDI
  // sequence. A device that cannot be opened is tried once.
  bool open_device() {
    if (device_tried) return mixer_open;
    device_tried = true;
    std::string error;
    mix = MixerLibrary::load(error);
    if (!mix) {
      go_silent(error.c_str());
      return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      go_silent(SDL_GetError());
      return false;
    }
    audio_subsystem = true;
    if (mix->OpenAudio(kFrequency, AUDIO_S16SYS, 2, kChunkSamples) != 0) {
      go_silent(SDL_GetError());
      return false;
    }
    mixer_open = true;
    mix->AllocateChannels(1);
    apply_volume();
    return true;
  }

  // The reader's volume, 0..MIX_MAX_VOLUME; the music also fades out
  // while the window is minimised, and back in when it is restored.
  void apply_volume() {
    if (!mixer_open) return;
    mix->Volume(-1, volume);
    mix->VolumeMusic(static_cast<int>(volume * hush_gain(now_ms()) + 0.5));
  }
  // The music's share of the volume, 0..1, moving at a steady pace towards
  // silence while hushed and back to the full volume when not.
  double hush_gain(std::int64_t at_ms) const {
    const double moved =
        static_cast<double>(at_ms - hush_changed_ms) / kHushFade_ms;
    return music_hushed ? std::max(0.0, gain_at_change - moved)
                        : std::min(1.0, gain_at_change + moved);
  }
  bool fading(std::int64_t at_ms) const {
    return hush_gain(at_ms) != (music_hushed ? 0.0 : 1.0);
  }
  void hush(bool hushed) {
    if (hushed == music_hushed) return;
    const std::int64_t at_ms = now_ms();
    gain_at_change = hush_gain(at_ms);
    hush_changed_ms = at_ms;
    music_hushed = hushed;
    fade_unfinished = true;
    apply_volume();
  }

  bool open_synthesiser() {
    if (!open_device()) return false;
    if (synthesiser_tried) return synthesiser_open;
    synthesiser_tried = true;
    // A soundfont named in SDL_SOUNDFONTS is the user's choice and wins.
    if (!SDL_getenv("SDL_SOUNDFONTS"))
      for (const char* path : kSoundfonts)
        if (file_exists(path)) {
          mix->SetSoundFonts(path);
          break;
        }
    synthesiser_open = (mix->Init(MIX_INIT_MID) & MIX_INIT_MID) != 0;
    if (!synthesiser_open) midi_unavailable(SDL_GetError());
    return synthesiser_open;
  }

  // The default sound, made the first time a file cannot be played.
  Mix_Chunk* default_sound() {
    if (!chime) {
      const std::vector<std::uint8_t> bytes = chime_wav();
      if (SDL_RWops* rw =
              SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())))
        chime = mix->LoadWAV_RW(rw, 1);
    }
    return chime;
  }

  void go_silent(const char* why) {
    std::fprintf(stderr,
                 "mowa: no sound device (%s); the program runs on silently\n",
                 why);
  }
  void midi_unavailable(const char* why) {
    if (midi_reported) return;
    midi_reported = true;
    std::fprintf(stderr,
                 "mowa: MIDI sequences cannot be heard (%s); they are timed "
                 "silently\n",
                 why);
  }

  static std::int64_t now_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }

  void stop_wav() {
    if (!mixer_open) return;
    mix->HaltChannel(kWavChannel);
    if (wav) mix->FreeChunk(wav);
    wav = nullptr;
  }

  Bool play_sound(const char* sound, Dword flags) {
    stop_wav();
    if (!sound) return kTrue;
    if (!open_device()) return kTrue;
    // Read here, refused unless a regular file (a FIFO would block the
    // only thread) and with its chunk sizes cut to the file's own.
    std::vector<std::uint8_t> bytes;
    if (read_sound_file(host_path(sound), bytes))
      if (SDL_RWops* rw =
              SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())))
        wav = mix->LoadWAV_RW(rw, 1);
    Mix_Chunk* chunk = wav;
    int loops = (flags & SND_LOOP) ? -1 : 0;
    if (!chunk) {
      if ((flags & SND_NODEFAULT) || !(chunk = default_sound())) return kFalse;
      loops = 0;  // the default sound rings once, whatever was asked
    }
    if (mix->PlayChannelTimed(kWavChannel, chunk, loops, -1) < 0) return kFalse;
    if (!(flags & SND_ASYNC) && loops == 0)
      while (mix->Playing(kWavChannel)) SDL_Delay(5);
    return kTrue;
  }

  // ---- SequenceOutput ----
  void load(Uint device_id, std::span<const std::uint8_t> midi) override {
    if (!open_synthesiser()) return;
    // The loop reopens the same file at every pass: the sequence last closed
    // is played again as it is instead of reloading the soundfont, which
    // holds up the program for a noticeable moment.
    if (spare.music && std::equal(spare.midi.begin(), spare.midi.end(),
                                  midi.begin(), midi.end())) {
      musics[device_id] = std::move(spare);
      spare = Loaded{};
      return;
    }
    SDL_RWops* rw =
        SDL_RWFromConstMem(midi.data(), static_cast<int>(midi.size()));
    Mix_Music* music = rw ? mix->LoadMUSType_RW(rw, MUS_MID, 1) : nullptr;
    if (!music) {
      midi_unavailable(SDL_GetError());
      return;
    }
    musics[device_id] = Loaded{music, {midi.begin(), midi.end()}};
  }

  void start(Uint device_id) override {
    const auto it = musics.find(device_id);
    if (it == musics.end()) return;
    if (mix->PlayMusic(it->second.music, 0) != 0) {
      midi_unavailable(SDL_GetError());
      return;
    }
    sounding = device_id;
  }

  void unload(Uint device_id) override {
    if (sounding == device_id) {
      mix->HaltMusic();
      sounding = 0;
    }
    const auto it = musics.find(device_id);
    if (it == musics.end()) return;
    if (spare.music) mix->FreeMusic(spare.music);
    spare = std::move(it->second);
    musics.erase(it);
  }

  void pump() {
    sequencer.advance(now_ms());
    if (!fade_unfinished) return;
    fade_unfinished = fading(now_ms());
    apply_volume();
  }

  Faults& faults;
  MciSequencer sequencer;
  std::optional<MixerLibrary> mix;
  bool device_tried = false;
  bool audio_subsystem = false;
  bool mixer_open = false;
  bool synthesiser_tried = false;
  bool synthesiser_open = false;
  bool midi_reported = false;
  Mix_Chunk* wav = nullptr;    // the file PlaySound plays, owned
  Mix_Chunk* chime = nullptr;  // the default sound
  struct Loaded {
    Mix_Music* music = nullptr;
    std::vector<std::uint8_t> midi;  // the file it was made from
  };
  std::map<Uint, Loaded> musics;  // by device
  Loaded spare;                   // the sequence last closed, for a reopening
  Uint sounding = 0;              // the device the mixer plays, or 0
  int volume = MIX_MAX_VOLUME;
  static constexpr std::int64_t kHushFade_ms = 1000;
  static constexpr int kFadeStep_ms = 40;
  bool music_hushed = false;
  bool fade_unfinished = false;  // its last step is still to be set
  double gain_at_change = 1;
  std::int64_t hush_changed_ms = 0;
};

SdlSound::SdlSound(Faults& faults, WindowService& window)
    : impl_(std::make_unique<Impl>(faults, window)) {}

SdlSound::~SdlSound() = default;

Bool SdlSound::PlaySoundA(const char* sound, void* /*module*/, Dword flags) {
  if (impl_->faults.fail("PlaySoundA")) return kFalse;
  return impl_->play_sound(sound, flags);
}

McError SdlSound::mciSendStringA(const char* command, char* return_string,
                                 Uint return_length, Hwnd callback) {
  if (return_string && return_length > 0) return_string[0] = '\0';
  if (impl_->faults.fail("mciSendStringA")) return MCIERR_DEVICE_NOT_READY;
  return impl_->sequencer.send(command, callback, Impl::now_ms());
}

Bool SdlSound::mciGetErrorStringA(McError error, char* text, Uint length) {
  return mci_error_text(error, text, length);
}

void SdlSound::pump() { impl_->pump(); }

void SdlSound::set_volume(int mixer_volume) {
  impl_->volume = std::clamp(mixer_volume, 0, MIX_MAX_VOLUME);
  impl_->apply_volume();
}

void SdlSound::hush_music(bool hushed) { impl_->hush(hushed); }

int SdlSound::ms_until_next_end() const {
  std::int64_t end_ms = impl_->sequencer.next_end_ms();
  // A fade moves on at every pump: the window's sleep wakes for its steps.
  if (impl_->fade_unfinished) {
    const std::int64_t step_ms = Impl::now_ms() + Impl::kFadeStep_ms;
    end_ms = end_ms < 0 ? step_ms : std::min(end_ms, step_ms);
  }
  if (end_ms < 0) return -1;
  return static_cast<int>(std::clamp<std::int64_t>(
      end_ms - Impl::now_ms(), 0, std::numeric_limits<int>::max()));
}

}  // namespace mowa::pf
