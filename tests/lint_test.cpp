// mowa-lint seen from outside: for each kind of finding a scenario that has
// it, found at its line and column, and the corrected scenario, which lints
// clean. Pictures and sounds are made with ImageMagick and sox.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "midi_writer.h"
#include "scenario_runner.h"

namespace mowa::test {
namespace {

namespace fs = std::filesystem;

struct Lint {
  int exit_code = -1;
  std::string out;
  std::vector<Event> findings;
};

Lint lint(const std::string& dir, const std::string& options = "--json") {
  // Kept outside the folder checked, which may be the staged demo.
  char out_path[] = "/tmp/mowa-lint-XXXXXX";
  const int fd = mkstemp(out_path);
  if (fd >= 0) close(fd);
  const std::string out = out_path;
  const std::string command = std::string(MOWA_LINT_BIN) + " " + options +
                              " '" + dir + "' >'" + out + "' 2>&1";
  const int status = std::system(command.c_str());
  Lint r;
  r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = slurp(out);
  std::remove(out.c_str());
  if (options.find("--json") != std::string::npos)
    r.findings = parse_events(r.out);
  return r;
}

void make(const std::string& command) {
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// The files the scenarios name, made once.
class LintFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new Scenario();
    const std::string d = dir_->dir() + "/data/";
    const std::string picture =
        " -colors 256 -type palette -compress none BMP3:";
    make("convert -size 640x480 gradient:red-blue" + picture + d + "pic.bmp");
    make("convert -size 640x480 gradient:red-blue BMP3:" + d + "rgb.bmp");
    make("convert -size 64x48 gradient:red-blue" + picture + d + "spr.bmp");
    make("convert -size 700x8 gradient:red-blue" + picture + d + "big.bmp");
    make("sox -n -r 8000 -c 1 " + d + "a.wav trim 0 0.1");
    dir_->write("data/theme.mid", one_note_midi(100, 0));
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  // A folder with the scenario and every file above.
  static void prepare(Scenario& s, const std::string& cp932) {
    for (const auto& e : fs::directory_iterator(dir_->dir() + "/data"))
      if (e.path().filename() != "mowa.snr")
        fs::copy_file(e.path(),
                      s.dir() + "/data/" + e.path().filename().string());
    s.write("data/mowa.snr", cp932);
  }

  static Scenario* dir_;
};

Scenario* LintFiles::dir_ = nullptr;

struct Case {
  const char* kind;
  std::string bad;  // UTF-8, or cp932 bytes when `raw`
  int line, column;
  std::string good;
  const char* says = "";  // a part of the message
  bool raw = false;
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << c.kind << ": " << c.bad;
}

std::string lines_of(const std::string& head, int count,
                     const std::string& tail) {
  std::string s = head + "0\"\n";
  for (int i = 0; i < count; ++i)
    s += "[l" + std::to_string(i) + "]\n" + head + std::to_string(i + 1) +
         "\"\n";
  return s + tail;
}

const std::string kLongComment = "#" + std::string(299, 'x') + "\n";

const Case kCases[] = {
    {"missing-label", "goto\"thre\"\n[there]\nend\n", 1, 6,
     "goto\"there\"\n[there]\nend\n"},
    {"missing-label", "if\"@01<1,there,no\"\n[there]\nend\n", 1, 16,
     "if\"@01<1,there,there\"\n[there]\nend\n"},
    {"missing-label", "\"thre\"\n[there]\nend\n", 1, 2,
     "\"there\"\n[there]\nend\n"},
    {"comment-statement", "wait\"10\" #pause\nend\n", 1, 10,
     "# pause\nwait\"10\"\nend\n"},
    {"comment-statement", "message\"あ [え]\"\nend\n", 1, 11,
     "message\"あ［え］\"\nend\n"},
    {"unknown-command", "Goto\"a\"\n[a]\nend\n", 1, 1, "goto\"a\"\n[a]\nend\n",
     "did you mean 'goto'?"},
    {"unknown-command", "  mesage\"あ\"\nend\n", 1, 3, "  message\"あ\"\nend\n",
     "did you mean 'message'?"},
    {"missing-argument", "boxfill\"0,0,10,10\"\nend\n", 1, 18,
     "boxfill\"0,0,10,10,255\"\nend\n"},
    {"missing-argument", "text_write\"あ\"\nend\n", 1, 13,
     "text_write\"あ,0,0,16,255,0\"\nend\n"},
    {"bad-argument", "wait\"ten\"\nend\n", 1, 6, "wait\"10\"\nend\n"},
    {"bad-argument", "@01=@023+1\nend\n", 1, 8, "@01=@02+1\nend\n"},
    {"number-text", "@01=@02x4\nend\n", 1, 8, "@01=@02*4\nend\n"},
    {"bad-variable", "rand\"@1x\"\nend\n", 1, 6, "rand\"@12\"\nend\n"},
    {"bad-variable", "@01=@0a+1\nend\n", 1, 5, "@01=@01+1\nend\n"},
    {"if-operator", "if\"@01!3,a,a\"\n[a]\nend\n", 1, 7,
     "if\"@01<3,a,a\"\n[a]\nend\n"},
    {"if-no-label", "if\"@01<3,a\"\n[a]\nend\n", 1, 11,
     "if\"@01<3,a,a\"\n[a]\nend\n"},
    {"line-too-long", kLongComment + "end\n", 1, 256,
     "#" + std::string(200, 'x') + "\nend\n"},
    {"long-file-name", "gload\"" + std::string(81, 'a') + ",0,0,0\"\nend\n", 1,
     7, "gload\"data\\pic.bmp,0,0,0\"\nend\n"},
    {"missing-file", "gload\"data\\pict.bmp,0,0,0\"\nend\n", 1, 7,
     "gload\"DATA\\PIC.BMP,0,0,0\"\nend\n"},
    {"missing-file", "play_wav\"data\\b.wav,0\"\nend\n", 1, 10,
     "play_wav\"data/a.wav,0\"\nend\n"},
    {"bad-file", "gload\"data\\rgb.bmp,0,0,0\"\nend\n", 1, 7,
     "gload\"data\\pic.bmp,0,0,0\"\nend\n", "true-colour"},
    {"bad-file", "character\"data\\big.bmp,0,0,0,0\"\nend\n", 1, 11,
     "character\"data\\spr.bmp,0,0,0,0\"\nend\n", "at most 640 wide"},
    {"bad-file", "play_wav\"data\\pic.bmp,0\"\nend\n", 1, 10,
     "play_wav\"data\\a.wav,0\"\nend\n", "not a WAV file"},
    {"bad-file", "play_midi\".\\data\\a.wav\"\nend\n", 1, 11,
     "play_midi\".\\data\\theme.mid\"\nend\n", "MIDI"},
    {"midi-path", "play_midi\"data\\theme.mid\"\nend\n", 1, 11,
     "play_midi\".\\data\\theme.mid\"\nend\n"},
    {"too-many-labels", lines_of("goto\"l", 1001, "[l1001]\nend\n"), 2002, 1,
     lines_of("goto\"l", 999, "[l999]\nend\n")},
    {"label-too-long", "goto\"abcdefghijklmnopq\"\n[abcdefghijklmnopq]\nend\n",
     2, 1, "goto\"abcdefghijklmnop\"\n[abcdefghijklmnop]\nend\n"},
    {"unclosed-quote", "wait\"10\nend\n", 1, 8, "wait\"10\"\nend\n"},
    {"unused-label", "[a]\nend\n", 1, 1, "goto\"a\"\n[a]\nend\n"},
    {"duplicate-label", "goto\"a\"\n[a]\n[a]\nend\n", 3, 1,
     "goto\"a\"\n[a]\nend\n"},
    {"label-trailing-text", "goto\"a\"\n[a] # start\nend\n", 2, 4,
     "goto\"a\"\n[a]\nend\n"},
    {"label-no-newline", "goto\"a\"\nend\n[a]", 3, 1,
     "goto\"a\"\nend\n[a]\nend\n"},
    {"label-blank", "goto\"my label\"\n[my label]\nend\n", 2, 4,
     "goto\"mylabel\"\n[mylabel]\nend\n"},
    {"label-indented", "goto\"a\"\n  [a]\nend\n", 2, 3,
     "goto\"a\"\n[a]\nend\n"},
    {"assign-operators", "@05=1+2+3\nend\n", 1, 8, "@05=1+2\n@05=@05+3\nend\n"},
    {"assign-operators", "@01=-5*2\nend\n", 1, 7, "@01=-5\n@01=@01*2\nend\n"},
    {"number-text", "wait\"10ms\"\nend\n", 1, 8, "wait\"10\"\nend\n"},
    {"message-ascii", "message\"あいxyz\"\nend\n", 1, 11,
     "message\"あいｘｙｚ\"\nend\n"},
    {"message-escape", "message\"catです\"\nend\n", 1, 9,
     "message\"c0000ffです\"\nend\n"},
    {"message-overflow", "message\"一/二/三/四/五\"\nend\n", 1, 16,
     "message\"一/二/三/四\"\nend\n"},
    {"message-overflow", "message\"" + std::string(24, '\0') + "\"\nend\n", 1,
     32, "message\"" + std::string(23, '\0') + "\"\nend\n"},
    {"bad-cp932", "text_write\"\x85\x40,0,0,16,255,0\"\nend\n", 1, 12,
     "text_write\"\x82\xa0,0,0,16,255,0\"\nend\n", "", true},
    {"negative-delay", "screen_black_out\"-1\"\nend\n", 1, 18,
     "screen_black_out\"1\"\nend\n"},
    {"off-picture", "boxfill\"0,0,700,10,255\"\nend\n", 1, 9,
     "boxfill\"0,0,640,10,255\"\nend\n"},
    {"off-picture", "character\"data\\spr.bmp,600,0,0,0\"\nend\n", 1, 11,
     "character\"data\\spr.bmp,576,0,0,0\"\nend\n"},
    {"off-picture", "screen_copy\"0,0,100,100,600,0\"\nend\n", 1, 13,
     "screen_copy\"0,0,100,100,540,0\"\nend\n"},
    {"no-end", "wait\"1\"\n", 1, 1, "wait\"1\"\nend\n"},
    {"no-end", "if\"@01=0,a,b\"\n[a]\nend\n[b]\n", 1, 1,
     "if\"@01=0,a,b\"\n[a]\nend\n[b]\nend\n"},
    {"nested-gosub", "gosub\"a\"\nend\n[a]\ngosub\"b\"\nreturn\n[b]\nreturn\n",
     4, 1, "gosub\"a\"\ngosub\"b\"\nend\n[a]\nreturn\n[b]\nreturn\n"},
};

std::string fill_wide(std::string s) {
  // A run of NULs stands for as many full-width characters.
  std::string out;
  for (char c : s)
    out += c == '\0' ? std::string("\xe4\xb8\x80") : std::string(1, c);
  return out;
}

std::string bytes_of(const Case& c, const std::string& text) {
  return c.raw ? text : to_cp932(fill_wide(text));
}

class LintFindings : public LintFiles,
                     public ::testing::WithParamInterface<Case> {};

TEST_P(LintFindings, FoundAtItsPlaceAndGoneWhenCorrected) {
  const Case& c = GetParam();
  Scenario bad;
  prepare(bad, bytes_of(c, c.bad));
  const Lint r = lint(bad.dir());
  bool found = false;
  for (const Event& f : r.findings) {
    if (f.at("name") != c.kind) continue;
    found = true;
    EXPECT_EQ(f.at("line") + ":" + f.at("column"),
              std::to_string(c.line) + ":" + std::to_string(c.column))
        << r.out;
    EXPECT_NE(f.at("message").find(c.says), std::string::npos)
        << f.at("message");
    break;
  }
  EXPECT_TRUE(found) << r.out;

  Scenario good;
  prepare(good, bytes_of(c, c.good));
  const Lint fixed = lint(good.dir());
  EXPECT_TRUE(fixed.findings.empty()) << fixed.out;
  EXPECT_EQ(fixed.exit_code, 0) << fixed.out;
}

INSTANTIATE_TEST_SUITE_P(EveryKind, LintFindings, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                           std::string name = std::string(info.param.kind) +
                                              "_" + std::to_string(info.index);
                           for (char& ch : name)
                             if (ch == '-') ch = '_';
                           return name;
                         });

// Statements the engine reads as their writer meant, though they look odd.
TEST_F(LintFiles, WhatTheEngineDoesAsMeantIsNoError) {
  const char* scenarios[] = {
      "\"top\"\n[top]\nend\n",
      "goto  \"a b\"\n[ab]\nend\n",
      "get_mouse_position\"@01;@02\"\nend\n",
      "@01=-7\n@02=7/-2\n@03=@01*-1\n@04 = 4 * 5\nend\n",
      "stop_wav\"x\"\nwait\"@07\"\nend\n",
      "message\"あ\nend\n",
      "goto\"a\"\r\n[a]\r\nend\r\n",
      "text_write\"ABC,0,0,24,255,1\"\nmessage\"c0000ff赤/cff0000青\"\nend\n",
      "wait\"10\"#pause\n\t# comment\nend",
  };
  for (const char* text : scenarios) {
    Scenario s;
    prepare(s, to_cp932(text));
    const Lint r = lint(s.dir());
    for (const Event& f : r.findings)
      EXPECT_NE(f.at("severity"), "error") << text << r.out;
    EXPECT_EQ(r.exit_code, 0) << text << r.out;
  }
}

TEST_F(LintFiles, TextFormSilencingAndExitStatus) {
  Scenario s;
  prepare(s, to_cp932("Goto\"a\"\ngoto\"a\"\n[a]\nwait\"-1\"\nend\n"));
  const Lint text = lint(s.dir(), "");
  EXPECT_EQ(text.exit_code, 1);
  const std::string file = s.dir() + "/data/mowa.snr";
  EXPECT_NE(text.out.find(file + ":1:1: error: unknown command 'Goto'"),
            std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find(file + ":4:6: warning: "), std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("[negative-delay]\n"), std::string::npos) << text.out;

  // Without the error only the warning is left, and a warning fails nothing.
  const Lint quiet = lint(s.dir(), "--json -W no-unknown-command");
  ASSERT_EQ(quiet.findings.size(), 1u) << quiet.out;
  EXPECT_EQ(quiet.findings[0].at("name"), "negative-delay");
  EXPECT_EQ(quiet.exit_code, 0);
  EXPECT_EQ(lint(s.dir(), "-W no-such-kind").exit_code, 2);
}

TEST(Lint, TheDemoLintsClean) {
  const Lint r = lint(MOWA_DEMO_DIR);
  EXPECT_EQ(r.exit_code, 0) << r.out;
  EXPECT_TRUE(r.findings.empty()) << r.out;
}

}  // namespace
}  // namespace mowa::test
