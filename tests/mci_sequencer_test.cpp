// The sequencer devices: the command strings understood, what each mistake
// answers and its text, aliases, plays timed by their sequences, what an
// output is asked to sound, and the notifications that end plays.
#include "platform/common/mci_sequencer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>

#include "platform/common/mci_command.h"
#include "platform/common/mci_errors.h"
#include "support/midi_writer.h"
#include "support/recording_window.h"
#include "support/scenario_runner.h"

namespace mowa::test {
namespace {

using namespace pf;

using Verb = MciCommand::Verb;
using enum MciCommand::Verb;

TEST(MciParse, UnderstandsTheSequencerCommandsAndNamesEachMistake) {
  const struct {
    const char* text;
    McError error;
    Verb verb = Verb::kOpen;
    const char* path = "";
    const char* alias = "";
    bool notify = false;
  } cases[] = {
      // clang-format off
      {"open C:\\work\\x.mid type sequencer alias myseq", 0, kOpen,
       "C:\\work\\x.mid", "myseq"},
      {"open C:\\My Music\\a b.mid type sequencer alias s", 0, kOpen,
       "C:\\My Music\\a b.mid", "s"},
      {"open C:\\a type b\\x.mid type sequencer alias s", 0, kOpen,
       "C:\\a type b\\x.mid", "s"},
      {"open \"C:\\a b\\x.mid\" type sequencer alias s", 0, kOpen,
       "C:\\a b\\x.mid", "s"},
      {"  OPEN\tx.mid  TYPE Sequencer\tALIAS Seq  ", 0, kOpen, "x.mid", "Seq"},
      {"open x.mid type sequencer alias s notify", 0, kOpen, "x.mid", "s",
       true},
      {"play myseq notify", 0, kPlay, "", "myseq", true},
      {"play myseq", 0, kPlay, "", "myseq"},
      {"close myseq", 0, kClose, "", "myseq"},
      // clang-format on
      {"   ", MCIERR_MISSING_COMMAND_STRING},
      {"stop myseq", MCIERR_UNRECOGNIZED_COMMAND},
      {"playmyseq", MCIERR_UNRECOGNIZED_COMMAND},
      {"open", MCIERR_FILENAME_REQUIRED},
      {"open x.wav type waveaudio alias w", MCIERR_INVALID_DEVICE_NAME},
      {"open x.mid alias s", MCIERR_DEVICE_TYPE_REQUIRED},
      {"open x.mid type ", MCIERR_DEVICE_TYPE_REQUIRED},
      {"open type sequencer alias s", MCIERR_FILENAME_REQUIRED},
      {"open x.mid type sequencer", MCIERR_NEW_REQUIRES_ALIAS},
      {"open x.mid type sequencer alias", MCIERR_MISSING_STRING_ARGUMENT},
      {"open x.mid type sequencer alias s shareable",
       MCIERR_UNRECOGNIZED_KEYWORD},
      {"play", MCIERR_MISSING_DEVICE_NAME},
      {"close ", MCIERR_MISSING_DEVICE_NAME},
      {"play myseq from 0", MCIERR_UNRECOGNIZED_KEYWORD},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    MciCommand command;
    ASSERT_EQ(parse_mci_command(c.text, command), c.error);
    if (c.error != 0) continue;
    EXPECT_EQ(
        std::tie(command.verb, command.path, command.alias, command.notify),
        std::tuple(c.verb, c.path, c.alias, c.notify));
  }
  EXPECT_TRUE(same_alias("MySeq", "myseq"));
  EXPECT_FALSE(same_alias("myseq", "myseq2"));
}

TEST(MciErrorText, EveryCodeTheSequencerAnswersHasItsOwnTextCutToTheBuffer) {
  std::set<std::string> seen;
  char text[260];
  for (const McError code :
       {0u, MCIERR_UNRECOGNIZED_KEYWORD, MCIERR_UNRECOGNIZED_COMMAND,
        MCIERR_INVALID_DEVICE_NAME, MCIERR_MISSING_COMMAND_STRING,
        MCIERR_MISSING_STRING_ARGUMENT, MCIERR_FILE_NOT_FOUND,
        MCIERR_DEVICE_NOT_READY, MCIERR_DEVICE_TYPE_REQUIRED,
        MCIERR_DUPLICATE_ALIAS, MCIERR_MISSING_DEVICE_NAME, MCIERR_INVALID_FILE,
        MCIERR_NEW_REQUIRES_ALIAS, MCIERR_FILENAME_REQUIRED,
        MCIERR_DEVICE_NOT_INSTALLED, MCIERR_SEQ_PORT_INUSE}) {
    ASSERT_EQ(mci_error_text(code, text, sizeof text), kTrue) << code;
    EXPECT_GT(std::strlen(text), 10u) << code;
    EXPECT_TRUE(seen.insert(text).second) << "shared text: " << text;
  }
  // An unknown code is named but not known.
  EXPECT_EQ(mci_error_text(9999, text, sizeof text), kFalse);
  EXPECT_NE(std::string(text).find("9999"), std::string::npos);
  // A text is cut to the buffer.
  char small[8] = "xxxxxxx";
  mci_error_text(MCIERR_FILE_NOT_FOUND, text, sizeof text);
  EXPECT_EQ(mci_error_text(MCIERR_FILE_NOT_FOUND, small, 5), kTrue);
  EXPECT_EQ(std::string(small), std::string(text, 4));
  EXPECT_EQ(small[5], 'x');  // nothing written past the length given
  EXPECT_EQ(mci_error_text(MCIERR_FILE_NOT_FOUND, small, 1), kTrue);
  EXPECT_EQ(small[0], '\0');
  EXPECT_EQ(mci_error_text(MCIERR_FILE_NOT_FOUND, small, 0), kFalse);
  EXPECT_EQ(mci_error_text(MCIERR_FILE_NOT_FOUND, nullptr, 260), kFalse);
}

const Hwnd kMain = reinterpret_cast<Hwnd>(std::uintptr_t{1});
const Hwnd kOther = reinterpret_cast<Hwnd>(std::uintptr_t{2});
using Lines = std::vector<std::string>;

// An output that records what it is asked to sound.
struct FakeOutput final : pf::SequenceOutput {
  Lines calls;
  void load(pf::Uint id, std::span<const std::uint8_t> midi) override {
    note("load", id, " " + std::to_string(midi.size()));
  }
  void start(pf::Uint id) override { note("start", id); }
  void unload(pf::Uint id) override { note("unload", id); }
  void note(const char* what, pf::Uint id, const std::string& more = "") {
    calls.push_back(what + (" " + std::to_string(id)) + more);
  }
};

class MciSequencerTest : public ::testing::Test {
 protected:
  MciSequencerTest() {
    folder_.write("a.mid", one_note_midi(250, 250));  // 500 ms
    folder_.write("b.mid", one_note_midi(100, 200));  // 300 ms
    folder_.write("broken.mid", "MThd" + be32(6));
  }
  // The command at `now_ms`, with {dir} standing for the folder.
  McError send(std::string text, std::int64_t now_ms, Hwnd callback = kMain) {
    if (const auto at = text.find("{dir}"); at != std::string::npos)
      text.replace(at, 5, folder_.dir());
    return seq_.send(text.c_str(), callback, now_ms);
  }
  // The notifications posted since the last call, as "code@device>window".
  Lines taken() {
    Lines out;
    for (const auto& p : window_.posted) {
      EXPECT_EQ(p.message, pf::MM_MCINOTIFY);
      out.push_back(std::to_string(p.wparam) + "@" + std::to_string(p.lparam) +
                    ">" + (p.hwnd == kMain ? "main" : "other"));
    }
    window_.posted.clear();
    return out;
  }

  Scenario folder_;
  RecordingWindow window_;
  FakeOutput output_;
  pf::MciSequencer seq_{window_, &output_};
};

TEST_F(MciSequencerTest, PlayEndsWhenItsSequenceHasRunOutAndSoundsOnce) {
  ASSERT_EQ(send("open {dir}\\a.mid type sequencer alias myseq notify", 1000),
            0u);
  EXPECT_EQ(taken(), Lines{"1@1>main"});  // an open is answered at once
  ASSERT_EQ(send("play myseq notify", 1000), 0u);
  EXPECT_EQ(seq_.next_end_ms(), 1500);
  seq_.advance(1499);
  EXPECT_EQ(taken(), Lines{});
  seq_.advance(1500);
  EXPECT_EQ(taken(), Lines{"1@1>main"});
  seq_.advance(9000);
  EXPECT_EQ(taken(), Lines{});
  EXPECT_EQ(seq_.next_end_ms(), -1);
  send("play myseq", 9000);  // after the end: from the beginning
  send("close myseq", 9100, nullptr);
  const std::string size = std::to_string(one_note_midi(250, 250).size());
  EXPECT_EQ(output_.calls,
            (Lines{"load 1 " + size, "start 1", "start 1", "unload 1"}));
}

TEST_F(MciSequencerTest, CloseAbortsAndASecondPlaySupersedesWithoutRestarting) {
  send("open {dir}\\a.mid type sequencer alias myseq", 0);
  send("play myseq notify", 0);
  ASSERT_EQ(send("play myseq notify", 200, kOther), 0u);
  EXPECT_EQ(seq_.next_end_ms(), 500);
  EXPECT_EQ(taken(), Lines{"2@1>main"});
  ASSERT_EQ(send("close myseq", 300, nullptr), 0u);
  EXPECT_EQ(taken(), Lines{"4@1>other"});
  seq_.advance(1000);
  EXPECT_EQ(taken(), Lines{});
  EXPECT_EQ(send("close myseq", 300), pf::MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(output_.calls.size(), 3u);  // load, one start, unload
}

TEST_F(MciSequencerTest, OneSequenceSoundsAtATime) {
  send("open {dir}\\a.mid type sequencer alias one", 0);
  send("open {dir}\\b.mid type sequencer alias two", 0);
  ASSERT_EQ(send("play one notify", 0), 0u);
  EXPECT_EQ(send("play two notify", 0), pf::MCIERR_SEQ_PORT_INUSE);
  seq_.advance(500);
  EXPECT_EQ(taken(), Lines{"1@1>main"});
  EXPECT_EQ(send("play two notify", 500), 0u);
  seq_.advance(800);
  EXPECT_EQ(taken(), Lines{"1@2>main"});
}

TEST_F(MciSequencerTest, FailuresLeaveNothingOpen) {
  const std::pair<const char*, McError> cases[] = {
      {"open {dir}\\missing.mid type sequencer alias s",
       pf::MCIERR_FILE_NOT_FOUND},
      {"open {dir} type sequencer alias s", pf::MCIERR_FILE_NOT_FOUND},
      {"open {dir}\\broken.mid type sequencer alias s",
       pf::MCIERR_INVALID_FILE},
      {"open {dir}\\a.mid type sequencer", pf::MCIERR_NEW_REQUIRES_ALIAS},
      {"play s notify", pf::MCIERR_INVALID_DEVICE_NAME},
      {"close s", pf::MCIERR_INVALID_DEVICE_NAME},
      // MCIERR_UNRECOGNIZED_COMMAND, which callers compare against.
      {"seek s to start", 261},
  };
  for (const auto& [command, error] : cases)
    EXPECT_EQ(send(command, 0), error) << command;
  EXPECT_EQ(seq_.send(nullptr, kMain, 0), pf::MCIERR_MISSING_COMMAND_STRING);
  EXPECT_EQ(seq_.open_devices(), 0u);
  EXPECT_EQ(taken(), Lines{});
  // File names are code page 932 and ignore case.
  folder_.write("曲/Song.MID", one_note_midi(100, 100));
  EXPECT_EQ(
      send(to_cp932("open {dir}\\曲\\song.mid type sequencer alias s"), 0), 0u);
}

}  // namespace
}  // namespace mowa::test
