// The sequencer devices: aliases, plays timed by their sequences, what an
// output is asked to sound, and the notifications that end plays.
#include "platform/common/mci_sequencer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "midi_writer.h"
#include "platform/common/mci_errors.h"
#include "recording_window.h"
#include "scenario_runner.h"

namespace mowa::test {
namespace {

using pf::Hwnd;
using pf::Lparam;
using pf::McError;
using pf::Wparam;

const Hwnd kMain = reinterpret_cast<Hwnd>(std::uintptr_t{1});
const Hwnd kOther = reinterpret_cast<Hwnd>(std::uintptr_t{2});

// An output that records what it is asked to sound.
class FakeOutput final : public pf::SequenceOutput {
 public:
  std::vector<std::string> calls;

  void load(pf::Uint id, std::span<const std::uint8_t> midi) override {
    calls.push_back("load " + std::to_string(id) + " " +
                    std::to_string(midi.size()));
  }
  void start(pf::Uint id) override {
    calls.push_back("start " + std::to_string(id));
  }
  void unload(pf::Uint id) override {
    calls.push_back("unload " + std::to_string(id));
  }
};

class MciSequencerTest : public ::testing::Test {
 protected:
  MciSequencerTest() {
    folder_.write("a.mid", one_note_midi(250, 250));  // 500 ms
    folder_.write("b.mid", one_note_midi(100, 200));  // 300 ms
    folder_.write("broken.mid", "MThd" + be32(6));
  }

  // The command with {dir} standing for the folder, written as a Windows
  // path with backslashes.
  McError send(const std::string& command, Hwnd callback, std::int64_t now_ms,
               pf::MciSequencer* sequencer = nullptr) {
    std::string text = command;
    const auto at = text.find("{dir}");
    if (at != std::string::npos) text.replace(at, 5, folder_.dir());
    return (sequencer ? *sequencer : seq_).send(text.c_str(), callback, now_ms);
  }

  // The notifications posted since the last call, as "code@device>window".
  std::vector<std::string> taken() {
    std::vector<std::string> out;
    for (const auto& p : window_.posted) {
      EXPECT_EQ(p.message, pf::MM_MCINOTIFY);
      out.push_back(std::to_string(p.wparam) + "@" + std::to_string(p.lparam) +
                    ">" + (p.hwnd == kMain ? "main" : "other"));
    }
    window_.posted.clear();
    return out;
  }

  using Posts = std::vector<std::string>;
  Scenario folder_;
  RecordingWindow window_;
  pf::MciSequencer seq_{window_};
};

TEST_F(MciSequencerTest, PlayEndsWhenItsSequenceHasRunOut) {
  ASSERT_EQ(send("open {dir}\\a.mid type sequencer alias myseq", kMain, 1000),
            0u);
  ASSERT_EQ(send("play myseq notify", kMain, 1000), 0u);
  EXPECT_EQ(seq_.next_end_ms(), 1500);
  seq_.advance(1499);
  EXPECT_EQ(taken(), Posts{});
  seq_.advance(1500);
  EXPECT_EQ(taken(), Posts{"1@1>main"});
  seq_.advance(9000);
  EXPECT_EQ(taken(), Posts{});
  EXPECT_EQ(seq_.next_end_ms(), -1);
}

TEST_F(MciSequencerTest, OpenNotifyIsAnsweredAtOnce) {
  ASSERT_EQ(send("open {dir}\\a.mid type sequencer alias s notify", kMain, 0),
            0u);
  EXPECT_EQ(taken(), Posts{"1@1>main"});
}

TEST_F(MciSequencerTest, CloseAbortsThePendingPlay) {
  send("open {dir}\\a.mid type sequencer alias myseq", kMain, 0);
  send("play myseq notify", kMain, 0);
  ASSERT_EQ(send("close myseq", nullptr, 200), 0u);
  EXPECT_EQ(taken(), Posts{"4@1>main"});
  seq_.advance(1000);
  EXPECT_EQ(taken(), Posts{});
  EXPECT_EQ(send("close myseq", kMain, 300), pf::MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(taken(), Posts{});
}

TEST_F(MciSequencerTest, SecondPlaySupersedesTheFirstWithoutRestarting) {
  send("open {dir}\\a.mid type sequencer alias myseq", kMain, 0);
  send("play myseq notify", kMain, 0);
  ASSERT_EQ(send("play myseq notify", kOther, 200), 0u);
  EXPECT_EQ(taken(), Posts{"2@1>main"});
  seq_.advance(500);
  EXPECT_EQ(taken(), Posts{"1@1>other"});
}

TEST_F(MciSequencerTest, OneSequenceSoundsAtATime) {
  send("open {dir}\\a.mid type sequencer alias one", kMain, 0);
  send("open {dir}\\b.mid type sequencer alias two", kMain, 0);
  ASSERT_EQ(send("play one notify", kMain, 0), 0u);
  EXPECT_EQ(send("play two notify", kMain, 0), pf::MCIERR_SEQ_PORT_INUSE);
  seq_.advance(500);
  EXPECT_EQ(taken(), Posts{"1@1>main"});
  EXPECT_EQ(send("play two notify", kMain, 500), 0u);
  seq_.advance(800);
  EXPECT_EQ(taken(), Posts{"1@2>main"});
}

TEST_F(MciSequencerTest, FailuresLeaveNothingOpen) {
  const struct {
    const char* command;
    McError error;
  } cases[] = {
      {"open {dir}\\missing.mid type sequencer alias s",
       pf::MCIERR_FILE_NOT_FOUND},
      {"open {dir} type sequencer alias s", pf::MCIERR_FILE_NOT_FOUND},
      {"open {dir}\\broken.mid type sequencer alias s",
       pf::MCIERR_INVALID_FILE},
      {"open {dir}\\a.mid type sequencer", pf::MCIERR_NEW_REQUIRES_ALIAS},
      {"play s notify", pf::MCIERR_INVALID_DEVICE_NAME},
      {"close s", pf::MCIERR_INVALID_DEVICE_NAME},
      {"seek s to start", pf::MCIERR_UNRECOGNIZED_COMMAND},
  };
  for (const auto& c : cases)
    EXPECT_EQ(send(c.command, kMain, 0), c.error) << c.command;
  EXPECT_EQ(seq_.send(nullptr, kMain, 0), pf::MCIERR_MISSING_COMMAND_STRING);
  EXPECT_EQ(seq_.open_devices(), 0u);
  EXPECT_EQ(taken(), Posts{});
}

TEST_F(MciSequencerTest, FileNamesAreCodePage932AndIgnoreCase) {
  folder_.write("曲/Song.MID", one_note_midi(100, 100));
  EXPECT_EQ(send(to_cp932("open {dir}\\曲\\song.mid type sequencer alias s"),
                 kMain, 0),
            0u);
}

TEST_F(MciSequencerTest, OutputSoundsWhatIsOpenedAndPlayed) {
  FakeOutput output;
  pf::MciSequencer seq(window_, &output);
  send("open {dir}\\a.mid type sequencer alias s", kMain, 0, &seq);
  send("play s notify", kMain, 0, &seq);
  send("play s notify", kMain, 100, &seq);  // goes on: no second start
  seq.advance(500);
  send("play s", kMain, 600, &seq);  // after the end: from the beginning
  send("close s", nullptr, 700, &seq);
  const std::string size = std::to_string(one_note_midi(250, 250).size());
  EXPECT_EQ(output.calls, (std::vector<std::string>{"load 1 " + size, "start 1",
                                                    "start 1", "unload 1"}));
}

}  // namespace
}  // namespace mowa::test
