// Real sound through SDL's disk audio driver: what the mixer would send to
// the speakers is written to a file and measured. No display is needed.
#include "platform/sdl/sdl_sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "../support/midi_writer.h"
#include "../support/recording_window.h"
#include "platform/common/faults.h"
#include "platform/common/reader_settings.h"

namespace mowa::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The stream as the sound service asks for it: 16-bit stereo at 44.1 kHz.
constexpr int kWindowFrames = 44100 / 50;  // 20 ms
constexpr pf::Dword kAsync = pf::SND_FILENAME | pf::SND_ASYNC;

// The loudest of levels[from, to); all of them by default.
double loudest(const std::vector<double>& levels, std::size_t from = 0,
               std::size_t to = SIZE_MAX) {
  to = std::min(to, levels.size());
  return from < to
             ? std::ranges::max(std::span(levels).subspan(from, to - from))
             : 0;
}

// How many times the sound starts after at least 60 ms of near silence.
int onsets(const std::vector<double>& levels) {
  const double peak = loudest(levels);
  int count = 0, quiet = 3;
  for (const double l : levels) {
    if (l < peak * 0.03) ++quiet;
    if (l > peak * 0.3) count += std::exchange(quiet, 0) >= 3;
  }
  return count;
}

void wait_ms(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

class SdlSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern =
        (fs::temp_directory_path() / "mowa-sdl-sound-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    stream_ = (fs::path(folder_) / "stream.raw").string();
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", stream_.c_str(), 1);
  }
  void TearDown() override { fs::remove_all(folder_, ec_); }

  // The loudness of every 20 ms of the stream, 0 to 1.
  std::vector<double> levels() const {
    std::ifstream in(stream_, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    // The host is little-endian too.
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    std::vector<double> out;
    for (std::size_t at = 0; at + kWindowFrames * 2 <= samples.size();
         at += kWindowFrames * 2) {
      double sum = 0;
      for (std::size_t i = at; i < at + kWindowFrames * 2; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
      out.push_back(std::sqrt(sum / (kWindowFrames * 2)) / 32768.0);
    }
    return out;
  }
  // Waits, for at most two seconds, until the stream holds `count` onsets
  // and, with `then_quiet`, the silence after the last.
  void heard(int count, bool then_quiet) const {
    for (int i = 0; i < 100; ++i) {
      const auto l = levels();
      const bool quiet =
          l.size() > 3 && loudest(l, l.size() - 3) < loudest(l) * 0.03;
      if (onsets(l) >= count && (quiet || !then_quiet)) return;
      wait_ms(20);
    }
  }
  // Pumps as the window service does until a notification is posted, for at
  // most five seconds; returns its code.
  pf::Wparam next_notification(pf::SdlSound& sound) {
    const auto until = Clock::now() + std::chrono::seconds(5);
    while (window_.posted.empty() && Clock::now() < until) {
      sound.pump();
      wait_ms(2);
    }
    if (window_.posted.empty()) return 0;
    EXPECT_EQ(window_.posted[0].hwnd, main_);
    EXPECT_EQ(window_.posted[0].message, pf::MM_MCINOTIFY);
    const pf::Wparam code = window_.posted[0].wparam;
    window_.posted.clear();
    return code;
  }
  // A 100 ms sine tone of 440 Hz, 16-bit mono at 22.05 kHz, made by sox.
  std::string tone() const {
    const std::string wav = (fs::path(folder_) / "tone.wav").string(),
                      sox = "sox -n -r 22050 -b 16 -c 1 '" + wav +
                            "' synth 0.1 sine 440 vol 0.37";
    EXPECT_EQ(std::system(sox.c_str()), 0);
    return wav;
  }
  std::string write(const std::string& name, const std::string& bytes) const {
    const std::string path = (fs::path(folder_) / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  pf::McError send(pf::SdlSound& sound, const std::string& command) {
    return sound.mciSendStringA(command.c_str(), nullptr, 0, main_);
  }

  std::string folder_, stream_;
  std::error_code ec_;
  pf::Faults faults_;
  RecordingWindow window_;
  const pf::Hwnd main_ = reinterpret_cast<pf::Hwnd>(std::uintptr_t{1});
};

// No device is opened until the first sound: stopping, and closing what was
// never opened, play nothing.
TEST_F(SdlSoundTest, LoopingWavIsHeardUntilTheNullSoundStopsIt) {
  const std::string wav = tone();
  {
    pf::SdlSound sound(faults_, window_);
    sound.PlaySoundA(nullptr, nullptr, kAsync);
    send(sound, "close s");
    sound.pump();
    EXPECT_FALSE(fs::exists(stream_));
    EXPECT_EQ(sound.PlaySoundA(wav.c_str(), nullptr, kAsync | pf::SND_LOOP),
              pf::kTrue);
    wait_ms(400);
    sound.PlaySoundA(nullptr, nullptr, kAsync);
    wait_ms(400);
  }
  const auto l = levels();
  ASSERT_GT(l.size(), 30u) << "the disk driver wrote no stream";
  EXPECT_GT(loudest(l), 0.1);
  EXPECT_GE(onsets(l), 1);
  // The last 200 ms are silent.
  EXPECT_LT(loudest(l, l.size() - 10), 0.001);
}

// The reader's volume reaches what is heard: a step down plays the same tone
// a tenth quieter, muted plays silence, and unmuting brings it back.
TEST_F(SdlSoundTest, ReaderVolumeAndMuteReachTheOutput) {
  const std::string wav = tone();
  pf::ReaderSettings settings;
  std::vector<std::size_t> switched_at;  // the stream's length, in 20 ms
  {
    pf::SdlSound sound(faults_, window_);
    sound.set_volume(settings.mixer_volume());
    ASSERT_EQ(sound.PlaySoundA(wav.c_str(), nullptr, kAsync | pf::SND_LOOP),
              pf::kTrue);
    const auto next = [&](auto change) {
      wait_ms(500);
      switched_at.push_back(levels().size());
      change();
      sound.set_volume(settings.mixer_volume());
    };
    next([&] { settings.quieter(); });
    next([&] { settings.muted = true; });
    next([&] { settings.muted = false; });
    next([] {});
    sound.PlaySoundA(nullptr, nullptr, kAsync);
  }
  const auto l = levels();
  ASSERT_GE(l.size(), switched_at.back());
  // The loudness of each stretch, leaving out its first 100 ms: what was
  // mixed before the change may still be on its way.
  std::vector<double> stretch;
  for (std::size_t i = 0; i + 1 < switched_at.size(); ++i)
    stretch.push_back(loudest(l, switched_at[i] + 5, switched_at[i + 1]));
  ASSERT_EQ(stretch.size(), 3u);
  const double full = loudest(l, 5, switched_at[0]);
  EXPECT_GT(full, 0.1);
  EXPECT_NEAR(stretch[0] / full, 0.9, 0.05) << "a step down";
  EXPECT_LT(stretch[1], 0.001) << "muted";
  EXPECT_NEAR(stretch[2] / full, 0.9, 0.05) << "unmuted, at the step down";
}

// Minimised, the music fades out over a second rather than stopping; it
// comes back when the window is restored.
TEST_F(SdlSoundTest, HushedMusicFadesOutAndComesBack) {
  // An organ note struck every quarter second for four seconds: its
  // loudness stays level. (A note sounding while the music is silent is
  // dropped by the synthesiser; the music comes back with the next.)
  MidiTrack track;
  track.tempo(0, 500000).program(0, 19);
  for (int i = 0; i < 16; ++i) track.note_on(0, 60).note_off(240, 60);
  track.end(0);
  const std::string midi = write("organ.mid", midi_file(0, 480, {track}));
  std::vector<std::size_t> at;  // the stream's length, in 20 ms
  {
    pf::SdlSound sound(faults_, window_);
    ASSERT_EQ(send(sound, "open " + midi + " type sequencer alias s"), 0u);
    ASSERT_EQ(send(sound, "play s"), 0u);
    const auto pump_for = [&](int ms) {
      const auto until = Clock::now() + std::chrono::milliseconds(ms);
      while (Clock::now() < until) {
        sound.pump();
        wait_ms(std::clamp(sound.ms_until_next_end(), 1, 10));
      }
      at.push_back(levels().size());
    };
    pump_for(700);
    sound.hush_music(true);
    pump_for(400);
    pump_for(1000);
    sound.hush_music(false);
    pump_for(1200);
    send(sound, "close s");
  }
  const auto l = levels();
  ASSERT_GE(l.size(), at.back());
  const double playing = loudest(l, at[0] - 10, at[0]);
  ASSERT_GT(playing, 0.01) << "the synthesiser played nothing";
  const double fading = loudest(l, at[1] - 3, at[1]);
  EXPECT_GT(fading, playing * 0.2) << "silenced at once";
  EXPECT_LT(fading, playing * 0.9) << "not fading";
  EXPECT_LT(loudest(l, at[2] - 10, at[2]), playing * 0.02) << "still heard";
  EXPECT_GT(loudest(l, at[3] - 10, at[3]), playing * 0.7) << "not back";
}

TEST_F(SdlSoundTest, MissingWavRingsTheDefaultChimeUnlessAskedNotTo) {
  const std::string missing = (fs::path(folder_) / "none.wav").string();
  for (const bool chime : {false, true}) {
    {
      pf::SdlSound sound(faults_, window_);
      const pf::Bool played = sound.PlaySoundA(
          missing.c_str(), nullptr, kAsync | (chime ? 0 : pf::SND_NODEFAULT));
      EXPECT_TRUE(chime || played == pf::kFalse);
      wait_ms(chime ? 800 : 300);
    }
    const auto l = levels();
    EXPECT_TRUE(chime ? loudest(l) > 0.05 && onsets(l) == 1
                      : loudest(l) < 0.001)
        << loudest(l);
  }
}

TEST_F(SdlSoundTest, LoopingSequenceIsHeardStartingAgainAtEverySuccessfulEnd) {
  const std::string open = "open " + write("a.mid", one_note_midi(250, 350)) +
                           " type sequencer alias s";
  {
    pf::SdlSound sound(faults_, window_);
    ASSERT_EQ(send(sound, open), 0u);
    ASSERT_EQ(send(sound, "play s notify"), 0u);
    sound.pump();
    EXPECT_TRUE(window_.posted.empty());
    // What the program does at every successful end: close, open, play.
    for (int pass = 0; pass < 3; ++pass) {
      ASSERT_EQ(next_notification(sound), pf::MCI_NOTIFY_SUCCESSFUL) << pass;
      // The mixer renders on a thread of its own that a busy machine holds
      // back: let the pass's note and its silence reach the stream first.
      heard(pass + 1, true);
      send(sound, "close s");
      ASSERT_EQ(send(sound, open), 0u);
      ASSERT_EQ(send(sound, "play s notify"), 0u);
    }
    heard(4, false);
    // Closing while it plays aborts the play.
    send(sound, "close s");
    EXPECT_EQ(next_notification(sound), pf::MCI_NOTIFY_ABORTED);
  }
  EXPECT_GT(loudest(levels()), 0.02);
  EXPECT_EQ(onsets(levels()), 4);
}

TEST_F(SdlSoundTest, WithoutADeviceTheLoopStillGetsItsNotifications) {
  ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  const std::string midi = write("a.mid", one_note_midi(100, 100));
  pf::SdlSound sound(faults_, window_);
  EXPECT_EQ(sound.PlaySoundA(midi.c_str(), nullptr, kAsync), pf::kTrue);
  ASSERT_EQ(send(sound, "open " + midi + " type sequencer alias s"), 0u);
  const auto started = Clock::now();
  ASSERT_EQ(send(sound, "play s notify"), 0u);
  EXPECT_EQ(next_notification(sound), pf::MCI_NOTIFY_SUCCESSFUL);
  // Not before the sequence would have ended.
  EXPECT_GE(Clock::now() - started, std::chrono::milliseconds(200));
  EXPECT_FALSE(fs::exists(stream_));
}

}  // namespace
}  // namespace mowa::test
