// WAV requests and the looping MIDI sequence, seen from outside: scenarios
// run through mowa-headless and read back from the event log, and the
// sound routines driven directly on the headless platform where a scenario
// cannot set the scene (a file that goes away, a very deep folder).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "midi_writer.h"
#include "platform/common/mci_errors.h"
#include "platform/headless/headless_platform.h"
#include "scenario_runner.h"
#include "shell/program.h"
#include "shell/texts.h"
#include "shell/window_proc.h"
#include "sound/playback.h"

namespace mowa::test {
namespace {

namespace fs = std::filesystem;

std::string error_text(pf::McError error) {
  char text[260];
  pf::mci_error_text(error, text, sizeof text);
  return text;
}

// The MCI requests of a run as "TIME COMMAND notify=BOOL -> RESULT", with
// the scenario folder written as {dir}.
std::vector<std::string> mci_log(const std::vector<Event>& events,
                                 const std::string& dir) {
  std::vector<std::string> out;
  for (const Event& e : events) {
    if (e.at("ev") != "mci") continue;
    std::string command = e.at("command");
    if (const auto at = command.find(dir); at != std::string::npos)
      command.replace(at, dir.size(), "{dir}");
    out.push_back(e.at("t") + " " + command + " notify=" + e.at("notify") +
                  " -> " + e.at("result"));
  }
  return out;
}

std::string open_a(const char* t, const char* file = "a") {
  return std::string(t) + " open {dir}\\data\\" + file +
         ".mid type sequencer alias myseq notify=true -> 0";
}
std::string play(const char* t) {
  return std::string(t) + " play myseq notify notify=true -> 0";
}
std::string replay_close(const char* t) {
  return std::string(t) + " close myseq notify=false -> 0";
}

using Lines = std::vector<std::string>;

class SoundScenario : public ::testing::Test {
 protected:
  SoundScenario() {
    s_.write("data/a.mid", one_note_midi(250, 250));  // 500 ms a pass
    s_.write("data/b.mid", one_note_midi(150, 150));  // 300 ms a pass
    dir_ = fs::canonical(s_.dir()).string();
  }
  RunResult run(const std::string& script,
                const std::vector<std::string>& options = {}) {
    s_.script(script);
    RunResult r = s_.run(options);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    return r;
  }
  // The boxes of a run but the farewell.
  static std::vector<Event> boxes(const RunResult& r) {
    auto b = r.of("message_box");
    if (!b.empty() && b.back().at("caption") == "from 星屑の小瓶") b.pop_back();
    return b;
  }

  Scenario s_;
  std::string dir_;
};

TEST_F(SoundScenario, WavRequestsCarryTheirFlags) {
  const RunResult r = run(
      "@01=7\nplay_wav\"se.wav,0\"\nplay_wav\"bgm.wav,1\"\n"
      "play_wav\"効果音.wav,@01\"\nstop_wav\nplay_wav\"missing.wav,0\"\nend\n");
  const auto plays = r.of("play_sound");
  ASSERT_EQ(plays.size(), 5u);
  const std::pair<const char*, const char*> expected[] = {
      {"se.wav", "131073"},
      {"bgm.wav", "131081"},
      {"効果音.wav", "131081"},
      {"null", "131073"},
      {"missing.wav", "131073"}};
  for (std::size_t i = 0; i < plays.size(); ++i) {
    EXPECT_EQ(plays[i].at("file"), expected[i].first) << i;
    EXPECT_EQ(plays[i].at("flags"), expected[i].second) << i;
  }
  EXPECT_TRUE(boxes(r).empty());
}

TEST_F(SoundScenario, SequenceLoopsAtEveryEndUntilStopped) {
  const RunResult r =
      run("play_midi\".\\data\\a.mid\"\nwait\"400\"\nwait\"200\"\nwait\"600\"\n"
          "wait\"500\"\nstop_midi\nwait\"2000\"\nend\n");
  EXPECT_EQ(mci_log(r.events, dir_),
            (Lines{open_a("0"), play("0"),
                   // The first pass ends at 500, inside the 200 ms wait.
                   replay_close("600"), open_a("600"), play("600"),
                   replay_close("1200"), open_a("1200"), play("1200"),
                   replay_close("1700"), open_a("1700"), play("1700"),
                   // Its notification says aborted: nothing starts again.
                   "1700 close myseq notify=true -> 0"}));
  EXPECT_TRUE(boxes(r).empty());
}

TEST_F(SoundScenario, SecondPlayWhilePlayingIsRefusedThenLoopsAfterThePass) {
  const RunResult r = run(
      "play_midi\".\\data\\a.mid\"\nwait\"100\"\nplay_midi\".\\data\\b.mid\"\n"
      "wait\"500\"\nwait\"400\"\nstop_midi\nend\n");
  const auto b = boxes(r);
  ASSERT_EQ(b.size(), 1u);
  EXPECT_EQ(b[0].at("caption"),
            "open " + dir_ + "\\data\\b.mid type sequencer alias myseq");
  EXPECT_EQ(b[0].at("text"), error_text(pf::MCIERR_DUPLICATE_ALIAS));
  EXPECT_EQ(b[0].at("t"), "100");
  EXPECT_EQ(mci_log(r.events, dir_),
            (Lines{open_a("0"), play("0"),
                   "100 open {dir}\\data\\b.mid type sequencer alias myseq "
                   "notify=true -> 289",
                   // The first file finishes its pass; the next one is b's.
                   replay_close("600"), open_a("600", "b"), play("600"),
                   replay_close("1000"), open_a("1000", "b"), play("1000"),
                   "1000 close myseq notify=true -> 0"}));
}

TEST_F(SoundScenario, StopWithNothingOpenShowsNothing) {
  const RunResult r = run("stop_midi\nend\n");
  EXPECT_EQ(mci_log(r.events, dir_), Lines{"0 close myseq notify=true -> 263"});
  EXPECT_TRUE(boxes(r).empty());
}

struct OpenFailure {
  const char* name;
  const char* argument;
  const char* path;  // as the caption names it, after {dir}
  pf::McError error;
};

void PrintTo(const OpenFailure& c, std::ostream* os) { *os << c.name; }

class MidiOpenFailureTest : public SoundScenario,
                            public ::testing::WithParamInterface<OpenFailure> {
};

TEST_P(MidiOpenFailureTest, BoxIsCaptionedWithTheOpenCommand) {
  const OpenFailure& c = GetParam();
  s_.write("data/broken.mid", "MThd\x00\x00\x00\x06");
  const RunResult r =
      run(std::string("play_midi\"") + c.argument + "\"\nwait\"5000\"\nend\n");
  const std::string command =
      std::string("open {dir}") + c.path + " type sequencer alias myseq";
  const auto b = boxes(r);
  ASSERT_EQ(b.size(), 1u);
  EXPECT_EQ(b[0].at("caption"),
            "open " + dir_ + c.path + " type sequencer alias myseq");
  EXPECT_EQ(b[0].at("text"), error_text(c.error));
  // Nothing was opened: no play, no close, no loop.
  EXPECT_EQ(mci_log(r.events, dir_), Lines{"0 " + command + " notify=true -> " +
                                           std::to_string(c.error)});
}

INSTANTIATE_TEST_SUITE_P(
    Files, MidiOpenFailureTest,
    ::testing::Values(OpenFailure{"missing", ".\\data\\none.mid",
                                  "\\data\\none.mid",
                                  pf::MCIERR_FILE_NOT_FOUND},
                      OpenFailure{"first_character_dropped_whatever_it_is",
                                  "x.mid", ".mid", pf::MCIERR_FILE_NOT_FOUND},
                      OpenFailure{"not_a_sequence", ".\\data\\broken.mid",
                                  "\\data\\broken.mid",
                                  pf::MCIERR_INVALID_FILE}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SoundScenario, PlayThatFailsClosesTheDeviceAgain) {
  // The second MCI request, the play, fails.
  const RunResult r = run("play_midi\".\\data\\a.mid\"\nwait\"2000\"\nend\n",
                          {"--fail", "mciSendStringA@2"});
  const auto b = boxes(r);
  ASSERT_EQ(b.size(), 1u);
  EXPECT_EQ(b[0].at("caption"),
            "open " + dir_ + "\\data\\a.mid type sequencer alias myseq");
  EXPECT_EQ(b[0].at("text"), error_text(pf::MCIERR_DEVICE_NOT_READY));
  EXPECT_EQ(mci_log(r.events, dir_),
            (Lines{open_a("0"), "0 play myseq notify notify=true -> 276",
                   replay_close("0")}));
}

TEST_F(SoundScenario, EmptyPathIsReportedAndOpensNothing) {
  const RunResult r = run("play_midi\"\"\nend\n");
  const auto b = boxes(r);
  ASSERT_EQ(b.size(), 1u);
  EXPECT_EQ(b[0].at("caption"), "play_midi");
  EXPECT_EQ(b[0].at("text"), "MIDIファイルの名前がないの～、くすん。");
  EXPECT_TRUE(mci_log(r.events, dir_).empty());
}

// The sound routines on a headless platform of the test's own, in a folder
// whose name holds spaces, which becomes the current directory.
class SoundRoutines : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern =
        (fs::temp_directory_path() / "mowa sound XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    previous_ = fs::current_path();
    fs::current_path(folder_);
    log_ = std::tmpfile();
    hp_.log.open(log_);
    const pf::WndClassA wc{pf::CS_DBLCLKS, shell::window_proc, &p_, "MowaMowa"};
    hp_.window.RegisterClassA(&wc);
    p_.shell.main_window = hp_.window.CreateWindowExA(
        0, "MowaMowa", "MowaMowa", pf::WS_POPUP, 0, 0, 640, 480, nullptr);
  }
  void TearDown() override {
    fs::current_path(previous_);
    std::error_code ec;
    fs::remove_all(folder_, ec);
    if (log_) std::fclose(log_);
  }

  // What the main loop does between statements.
  void dispatch() {
    pf::Msg m{};
    while (hp_.window.PeekMessageA(&m, nullptr, 0, 0, pf::PM_REMOVE))
      hp_.window.DispatchMessageA(&m);
  }
  std::vector<Event> events() {
    std::fflush(log_);
    std::rewind(log_);
    std::string text;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, log_))
      text.append(buffer, n);
    return parse_events(text);
  }
  std::string directory() {
    char buffer[pf::MAX_PATH];
    hp_.files.GetCurrentDirectoryA(sizeof buffer, buffer);
    return buffer;
  }
  static void write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }

  fs::path folder_, previous_;
  std::FILE* log_ = nullptr;
  pf::HeadlessPlatform hp_;
  Program p_{hp_.platform()};
};

TEST_F(SoundRoutines, FileGoneBeforeTheReplayStopsTheMusic) {
  fs::create_directory("data");
  write("data/a.mid", one_note_midi(250, 250));
  sound::play_midi(p_, ".\\data\\a.mid");
  fs::remove("data/a.mid");
  hp_.clock.Sleep(600);
  dispatch();
  hp_.clock.Sleep(5000);
  dispatch();

  const std::string dir = directory();
  ASSERT_NE(dir.find(' '), std::string::npos);
  std::vector<Event> boxes;
  std::vector<std::string> requests;
  for (const Event& e : events()) {
    if (e.at("ev") == "message_box") boxes.push_back(e);
    if (e.at("ev") == "mci")
      requests.push_back(e.at("command") + " -> " + e.at("result"));
  }
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].at("caption"), "MIDI_ERROR");
  EXPECT_EQ(boxes[0].at("text"), error_text(pf::MCIERR_FILE_NOT_FOUND));
  const std::string open =
      "open " + dir + "\\data\\a.mid type sequencer alias myseq";
  EXPECT_EQ(requests, (Lines{open + " -> 0", "play myseq notify -> 0",
                             "close myseq -> 0", open + " -> 275"}));
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
  write(fits, one_note_midi(100, 100));
  write(over, one_note_midi(100, 100));

  sound::play_midi(p_, (".\\" + fits).c_str());
  sound::play_midi(p_, (".\\" + over).c_str());
  hp_.clock.Sleep(300);
  dispatch();

  const std::string dir = directory();
  std::vector<Event> boxes;
  std::vector<std::string> opens;
  for (const Event& e : events()) {
    if (e.at("ev") == "message_box") boxes.push_back(e);
    if (e.at("ev") == "mci" && e.at("command").rfind("open ", 0) == 0)
      opens.push_back(e.at("command") + " -> " + e.at("result"));
  }
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].at("caption"), "play_midi");
  EXPECT_EQ(
      boxes[0].at("text"),
      dir + "\\" + over + "はMIDIファイルのパスには長すぎるの～、くすん。");
  // The refused path replaced nothing: the replay opens the one that fits.
  const std::string open =
      "open " + dir + "\\" + fits + " type sequencer alias myseq";
  ASSERT_EQ(open.size(), 259u);
  EXPECT_EQ(opens, (Lines{open + " -> 0", open + " -> 0"}));
}

}  // namespace
}  // namespace mowa::test
