// Real sound through SDL's disk audio driver: what the mixer would send to
// the speakers is written to a file and measured. No display is needed.
#include "platform/sdl/sdl_sound.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../midi_writer.h"
#include "../recording_window.h"
#include "platform/common/faults.h"

namespace mowa::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The stream as the sound service asks for it: 16-bit stereo at 44.1 kHz.
constexpr int kRate = 44100;
constexpr int kWindowFrames = kRate / 50;  // 20 ms

constexpr pf::Dword kAsync = pf::SND_FILENAME | pf::SND_ASYNC;

std::string wav_file(double hz, double seconds) {
  const int frames = static_cast<int>(22050 * seconds);
  std::string data;
  for (int i = 0; i < frames; ++i) {
    const auto v = static_cast<std::int16_t>(
        12000 * std::sin(2 * std::numbers::pi * hz * i / 22050));
    data += static_cast<char>(v & 0xFF);
    data += static_cast<char>((v >> 8) & 0xFF);
  }
  const auto le32 = [](std::uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
  };
  const auto le16 = [&](std::uint32_t v) { return le32(v).substr(0, 2); };
  return "RIFF" + le32(36 + static_cast<std::uint32_t>(data.size())) +
         "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(22050) + le32(44100) +
         le16(2) + le16(16) + "data" +
         le32(static_cast<std::uint32_t>(data.size())) + data;
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
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  // The loudness of every 20 ms of the stream, 0 to 1.
  std::vector<double> levels() const {
    std::ifstream in(stream_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    const std::string bytes = s.str();
    std::vector<double> out;
    const std::size_t window_bytes = kWindowFrames * 4;
    for (std::size_t at = 0; at + window_bytes <= bytes.size();
         at += window_bytes) {
      double sum = 0;
      for (std::size_t i = at; i < at + window_bytes; i += 2) {
        const auto v = static_cast<std::int16_t>(
            static_cast<std::uint8_t>(bytes[i]) |
            (static_cast<std::uint8_t>(bytes[i + 1]) << 8));
        sum += static_cast<double>(v) * v;
      }
      out.push_back(std::sqrt(sum / (kWindowFrames * 2)) / 32768.0);
    }
    return out;
  }
  static double loudest(const std::vector<double>& levels) {
    double m = 0;
    for (const double l : levels) m = std::max(m, l);
    return m;
  }
  // How many times the sound starts after at least 60 ms of near silence.
  static int onsets(const std::vector<double>& levels) {
    const double peak = loudest(levels);
    int count = 0, quiet = 3;
    for (const double l : levels) {
      if (l < peak * 0.03) {
        ++quiet;
      } else if (l > peak * 0.3) {
        if (quiet >= 3) ++count;
        quiet = 0;
      }
    }
    return count;
  }

  static void wait_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }

  // Pumps as the window service does until a notification is posted, for
  // at most `limit_ms`.
  static bool pump_until_posted(pf::SdlSound& sound, RecordingWindow& window,
                                int limit_ms) {
    const auto until = Clock::now() + std::chrono::milliseconds(limit_ms);
    while (window.posted.empty() && Clock::now() < until) {
      sound.pump();
      wait_ms(2);
    }
    return !window.posted.empty();
  }

  std::string write(const std::string& name, const std::string& bytes) const {
    const std::string path = (fs::path(folder_) / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  std::string folder_;
  std::string stream_;
  pf::Faults faults_;
  RecordingWindow window_;
  const pf::Hwnd main_ = reinterpret_cast<pf::Hwnd>(std::uintptr_t{1});
};

TEST_F(SdlSoundTest, WavIsHeard) {
  const std::string wav = write("tone.wav", wav_file(440, 0.3));
  {
    pf::SdlSound sound(faults_, window_);
    EXPECT_EQ(sound.PlaySoundA(wav.c_str(), nullptr, kAsync), pf::kTrue);
    wait_ms(600);
  }
  const auto l = levels();
  ASSERT_GT(l.size(), 10u) << "the disk driver wrote no stream";
  EXPECT_GT(loudest(l), 0.1);
}

TEST_F(SdlSoundTest, NullSoundStopsTheLoop) {
  const std::string wav = write("tone.wav", wav_file(440, 0.1));
  {
    pf::SdlSound sound(faults_, window_);
    sound.PlaySoundA(wav.c_str(), nullptr, kAsync | pf::SND_LOOP);
    wait_ms(400);
    sound.PlaySoundA(nullptr, nullptr, kAsync);
    wait_ms(400);
  }
  const auto l = levels();
  ASSERT_GT(l.size(), 30u);
  EXPECT_GT(loudest(l), 0.1);
  // The last 200 ms are silent.
  EXPECT_LT(loudest(std::vector<double>(l.end() - 10, l.end())), 0.001);
}

TEST_F(SdlSoundTest, MissingWavRingsTheDefaultChimeUnlessAskedNotTo) {
  const std::string missing = (fs::path(folder_) / "none.wav").string();
  {
    pf::SdlSound sound(faults_, window_);
    EXPECT_EQ(
        sound.PlaySoundA(missing.c_str(), nullptr, kAsync | pf::SND_NODEFAULT),
        pf::kFalse);
    wait_ms(300);
  }
  EXPECT_LT(loudest(levels()), 0.001);
  {
    pf::SdlSound sound(faults_, window_);
    sound.PlaySoundA(missing.c_str(), nullptr, kAsync);
    wait_ms(800);
  }
  const auto l = levels();
  EXPECT_GT(loudest(l), 0.05);
  EXPECT_EQ(onsets(l), 1);
}

TEST_F(SdlSoundTest, MidiPassIsHeardAndNotified) {
  const std::string midi = write("a.mid", one_note_midi(400, 100));
  {
    pf::SdlSound sound(faults_, window_);
    ASSERT_EQ(sound.mciSendStringA(
                  ("open " + midi + " type sequencer alias s").c_str(), nullptr,
                  0, main_),
              0u);
    ASSERT_EQ(sound.mciSendStringA("play s notify", nullptr, 0, main_), 0u);
    sound.pump();
    EXPECT_TRUE(window_.posted.empty());
    ASSERT_TRUE(pump_until_posted(sound, window_, 5000));
    EXPECT_EQ(window_.posted[0].hwnd, main_);
    EXPECT_EQ(window_.posted[0].message, pf::MM_MCINOTIFY);
    EXPECT_EQ(window_.posted[0].wparam, pf::MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(window_.posted[0].lparam, 1);
    sound.mciSendStringA("close s", nullptr, 0, nullptr);
  }
  EXPECT_GT(loudest(levels()), 0.02);
}

TEST_F(SdlSoundTest, LoopingSequenceIsHeardStartingAgain) {
  const std::string midi = write("a.mid", one_note_midi(250, 350));
  const std::string open = "open " + midi + " type sequencer alias s";
  {
    pf::SdlSound sound(faults_, window_);
    ASSERT_EQ(sound.mciSendStringA(open.c_str(), nullptr, 0, main_), 0u);
    ASSERT_EQ(sound.mciSendStringA("play s notify", nullptr, 0, main_), 0u);
    // What the program does at every successful end: close, open, play.
    for (int pass = 0; pass < 3; ++pass) {
      ASSERT_TRUE(pump_until_posted(sound, window_, 5000)) << pass;
      ASSERT_EQ(window_.posted[0].wparam, pf::MCI_NOTIFY_SUCCESSFUL);
      window_.posted.clear();
      sound.mciSendStringA("close s", nullptr, 0, nullptr);
      ASSERT_EQ(sound.mciSendStringA(open.c_str(), nullptr, 0, main_), 0u);
      ASSERT_EQ(sound.mciSendStringA("play s notify", nullptr, 0, main_), 0u);
    }
    wait_ms(150);
    // Closing while it plays aborts the play.
    sound.mciSendStringA("close s", nullptr, 0, main_);
    ASSERT_EQ(window_.posted.size(), 1u);
    EXPECT_EQ(window_.posted[0].wparam, pf::MCI_NOTIFY_ABORTED);
  }
  EXPECT_EQ(onsets(levels()), 4);
}

TEST_F(SdlSoundTest, WithoutADeviceTheLoopStillGetsItsNotifications) {
  ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  const std::string midi = write("a.mid", one_note_midi(100, 100));
  pf::SdlSound sound(faults_, window_);
  EXPECT_EQ(sound.PlaySoundA(midi.c_str(), nullptr, kAsync), pf::kTrue);
  ASSERT_EQ(
      sound.mciSendStringA(("open " + midi + " type sequencer alias s").c_str(),
                           nullptr, 0, main_),
      0u);
  const auto started = Clock::now();
  ASSERT_EQ(sound.mciSendStringA("play s notify", nullptr, 0, main_), 0u);
  ASSERT_TRUE(pump_until_posted(sound, window_, 5000));
  // Not before the sequence would have ended.
  EXPECT_GE(Clock::now() - started, std::chrono::milliseconds(200));
  EXPECT_EQ(window_.posted[0].wparam, pf::MCI_NOTIFY_SUCCESSFUL);
  EXPECT_FALSE(fs::exists(stream_));
}

}  // namespace
}  // namespace mowa::test
