// WAV requests and the looping MIDI sequence, seen from outside: scenarios
// run through mowa-headless and read back from the event log, and the
// sound routines driven directly on the program in-process where a scenario
// cannot set the scene (a file that goes away, a very deep folder).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/common/mci_errors.h"
#include "platform/headless/headless_platform.h"
#include "report/texts.h"
#include "shell/program.h"
#include "sound/sound.h"
#include "support/in_process.h"
#include "support/midi_writer.h"
#include "support/scenario_runner.h"

namespace mowa::test {
namespace {

namespace fs = std::filesystem;

std::string error_text(pf::McError error) {
  char text[260];
  pf::mci_error_text(error, text, sizeof text);
  return text;
}

using Lines = std::vector<std::string>;

// Each message box as "caption: text", and each MCI request as "TIME COMMAND
// notify=BOOL -> RESULT" and WAV request as "play_sound FILE FLAGS" in order,
// with `dir` written as {dir}; the farewell box left out.
std::pair<Lines, Lines> boxes_and_requests(const std::vector<Event>& events,
                                           const std::string& dir) {
  const auto named = [&](std::string text) {
    if (const auto at = text.find(dir); at != std::string::npos)
      text.replace(at, dir.size(), "{dir}");
    return text;
  };
  Lines boxes, requests;
  for (const Event& e : events) {
    if (e.at("ev") == "message_box" && e.at("caption") != "from 星屑の小瓶")
      boxes.push_back(named(e.at("caption")) + ": " + e.at("text"));
    if (e.at("ev") == "mci")
      requests.push_back(e.at("t") + " " + named(e.at("command")) +
                         " notify=" + e.at("notify") + " -> " + e.at("result"));
    if (e.at("ev") == "play_sound")
      requests.push_back("play_sound " + e.at("file") + " " + e.at("flags"));
  }
  return {boxes, requests};
}

std::string open(const char* t, const char* file = "a",
                 const char* result = "0") {
  return std::string(t) + " open {dir}\\data\\" + file +
         ".mid type sequencer alias myseq notify=true -> " + result;
}
std::string play(const char* t) {
  return std::string(t) + " play myseq notify notify=true -> 0";
}
std::string close(const char* t, bool notify = false) {
  return std::string(t) + " close myseq notify=" + (notify ? "true" : "false") +
         " -> 0";
}
std::string open_box(const char* file, pf::McError error) {
  return "open {dir}\\data\\" + std::string(file) +
         ".mid type sequencer alias myseq: " + error_text(error);
}

class SoundScenario : public ::testing::Test {
 protected:
  SoundScenario() {
    s_.write("data/a.mid", one_note_midi(250, 250));  // 500 ms a pass
    s_.write("data/b.mid", one_note_midi(150, 150));  // 300 ms a pass
    s_.write("data/broken.mid", "MThd\x00\x00\x00\x06");
    dir_ = fs::canonical(s_.dir()).string();
  }
  Scenario s_;
  std::string dir_;
};

TEST_F(SoundScenario, RequestsBoxesAndTheMidiLoopFollowEachScript) {
  const struct {
    const char* name;
    const char* script;
    Lines boxes, requests;
    std::vector<std::string> options = {};
  } cases[] = {
      // clang-format off
      {"wav requests carry their flags; a missing file shows nothing",
       "@01=7\nplay_wav\"se.wav,0\"\nplay_wav\"bgm.wav,1\"\n"
       "play_wav\"効果音.wav,@01\"\nstop_wav\nplay_wav\"missing.wav,0\"\nend\n",
       {}, {"play_sound se.wav 131073", "play_sound bgm.wav 131081",
            "play_sound 効果音.wav 131081", "play_sound null 131073",
            "play_sound missing.wav 131073"}},
      {"the sequence loops at every end until stopped",
       "play_midi\".\\data\\a.mid\"\nwait\"400\"\nwait\"200\"\nwait\"600\"\n"
       "wait\"500\"\nstop_midi\nwait\"2000\"\nend\n", {},
       // The first pass ends at 500, inside the 200 ms wait; the last close
       // says aborted, so nothing starts again.
       {open("0"), play("0"), close("600"), open("600"), play("600"),
        close("1200"), open("1200"), play("1200"), close("1700"), open("1700"),
        play("1700"), close("1700", true)}},
      {"a second play while playing is refused, then loops after the pass",
       "play_midi\".\\data\\a.mid\"\nwait\"100\"\nplay_midi\".\\data\\b.mid\"\n"
       "wait\"500\"\nwait\"400\"\nstop_midi\nend\n",
       {open_box("b", pf::MCIERR_DUPLICATE_ALIAS)},
       {open("0"), play("0"), open("100", "b", "289"), close("600"),
        open("600", "b"), play("600"), close("1000"), open("1000", "b"),
        play("1000"), close("1000", true)}},
      {"stop with nothing open shows nothing", "stop_midi\nend\n", {},
       {"0 close myseq notify=true -> 263"}},
      {"an empty path opens nothing", "play_midi\"\"\nend\n",
       {"play_midi: MIDIファイルの名前がないの～、くすん。"}, {}},
      {"a missing file", "play_midi\".\\data\\none.mid\"\nwait\"5000\"\nend\n",
       {open_box("none", pf::MCIERR_FILE_NOT_FOUND)},
       {open("0", "none", "275")}},
      {"the first character is dropped whatever it is",
       "play_midi\"x.mid\"\nend\n",
       {"open {dir}.mid type sequencer alias myseq: " +
        error_text(pf::MCIERR_FILE_NOT_FOUND)},
       {"0 open {dir}.mid type sequencer alias myseq notify=true -> 275"}},
      {"not a sequence",
       "play_midi\".\\data\\broken.mid\"\nwait\"5000\"\nend\n",
       {open_box("broken", pf::MCIERR_INVALID_FILE)},
       {open("0", "broken", std::to_string(pf::MCIERR_INVALID_FILE).c_str())}},
      {"a play that fails closes the device again",
       "play_midi\".\\data\\a.mid\"\nwait\"2000\"\nend\n",
       {open_box("a", pf::MCIERR_DEVICE_NOT_READY)},
       {open("0"), "0 play myseq notify notify=true -> 276", close("0")},
       {"--fail", "mciSendStringA@2"}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    s_.script(c.script);
    const RunResult r = s_.run(c.options);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(boxes_and_requests(r.events, dir_),
              std::pair(c.boxes, c.requests));
  }
}

// The sound routines driven directly on the program in-process, from a
// folder whose name holds spaces, which becomes the current directory.
class SoundRoutines : public ::testing::Test {
 protected:
  SoundRoutines() {
    folder_ = fs::path(s_.dir()) / "mowa sound";
    fs::create_directories(folder_ / "data");
    fs::current_path(folder_);
  }
  std::string directory() {
    char buffer[pf::MAX_PATH];
    in_.hp.files.GetCurrentDirectoryA(sizeof buffer, buffer);
    return buffer;
  }

  Scenario s_;
  InProcess in_{(s_.script("end\n"), s_)};
  fs::path folder_;
};

TEST_F(SoundRoutines, FileGoneBeforeTheReplayStopsTheMusic) {
  s_.write("mowa sound/data/a.mid", one_note_midi(250, 250));
  sound::play_midi(in_.p.sound, ".\\data\\a.mid");
  fs::remove("data/a.mid");
  in_.hp.clock.Sleep(600);
  in_.dispatch();
  in_.hp.clock.Sleep(5000);
  in_.dispatch();
  ASSERT_NE(directory().find(' '), std::string::npos);
  EXPECT_EQ(
      boxes_and_requests(in_.events(), directory()),
      std::pair(
          Lines{"MIDI_ERROR: " + error_text(pf::MCIERR_FILE_NOT_FOUND)},
          Lines{open("0"), play("0"), close("600"), open("600", "a", "275")}));
}

TEST_F(SoundRoutines, MidiPathMayTakeUpTo227Bytes) {
  // A folder deep enough that a file name of 20-odd bytes reaches the limit.
  fs::path deep = folder_;
  while (directory().size() < 180) {
    deep /=
        std::string(std::min<std::size_t>(40, 185 - directory().size()), 'd');
    fs::create_directory(deep);
    fs::current_path(deep);
  }
  const std::size_t room = 227 - directory().size() - 1;  // after a separator
  const std::string fits = std::string(room - 4, 'f') + ".mid";
  const std::string over = std::string(room - 3, 'o') + ".mid";
  for (const std::string& name : {fits, over})
    std::ofstream(name) << one_note_midi(100, 100);
  sound::play_midi(in_.p.sound, (".\\" + fits).c_str());
  sound::play_midi(in_.p.sound, (".\\" + over).c_str());
  in_.hp.clock.Sleep(300);
  in_.dispatch();
  // The refused path replaced nothing: the replay opens the one that fits.
  const std::string opened =
      "open " + directory() + "\\" + fits + " type sequencer alias myseq";
  ASSERT_EQ(opened.size(), 259u);
  const auto [boxes, requests] = boxes_and_requests(in_.events(), "{none}");
  EXPECT_EQ(boxes, Lines{"play_midi: " + directory() + "\\" + over +
                         "はMIDIファイルのパスには長すぎるの～、くすん。"});
  EXPECT_EQ(requests,
            (Lines{"0 " + opened + " notify=true -> 0", play("0"), close("300"),
                   "300 " + opened + " notify=true -> 0", play("300")}));
}

}  // namespace
}  // namespace mowa::test
