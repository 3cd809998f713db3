// mowa-lint seen from outside: for each kind of finding a scenario that has
// it, found at its line and column, and the corrected scenario, which lints
// clean. Pictures and sounds are made with ImageMagick and sox.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "support/midi_writer.h"
#include "support/scenario_runner.h"

namespace mowa::test {
namespace {

struct Lint {
  int exit_code = -1;
  std::string out;
  std::vector<Event> findings;
};

Lint lint(const std::string& dir, const std::string& options = "--json") {
  // Kept outside the folder checked, which may be the staged demo.
  char out[] = "/tmp/mowa-lint-XXXXXX";
  close(mkstemp(out));
  const int status = std::system((std::string(MOWA_LINT_BIN) + " " + options +
                                  " '" + dir + "' >" + out + " 2>&1")
                                     .c_str());
  Lint r{WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), {}};
  std::remove(out);
  if (options.find("--json") != std::string::npos)
    r.findings = parse_events(r.out);
  return r;
}

// A folder with the files the scenarios name, made once; each case writes
// its scenario into it.
Scenario& folder_with_files() {
  static Scenario* folder = [] {
    auto* s = new Scenario();
    s->write("data/theme.mid", one_note_midi(100, 0));
    // Then the guide's recipe for art that shares one palette, on a grey
    // sprite, and without its -colorspace and -dither.
    const std::string make = "set -e; cd '" + s->dir() + "/data'" + R"(
      P="-colors 256 -type palette -compress none BMP3:"
      R="-remap palette.png -type Palette BMP3:"
      S="-colorspace sRGB -dither None"
      convert -size 640x480 gradient:red-blue ${P}pic.bmp
      convert -size 640x480 gradient:red-blue BMP3:rgb.bmp
      convert -size 64x48 gradient:red-blue ${P}spr.bmp
      convert -size 700x8 gradient:red-blue ${P}big.bmp
      sox -n -r 8000 -c 1 a.wav trim 0 0.1
      convert -size 640x480 gradient:yellow-navy room.png
      convert -size 40x40 radial-gradient:white-black hero.png
      convert room.png hero.png -append -colors 255 -unique-colors xc:black \
        +append -unique-colors palette.png
      convert room.png -resize '640x480!' $S ${R}room.bmp
      convert hero.png $S ${R}hero.bmp
      convert hero.png ${R}hero-old.bmp)";
    EXPECT_EQ(std::system(make.c_str()), 0) << make;
    return s;
  }();
  return *folder;
}

std::string lines_of(const std::string& head, int count,
                     const std::string& tail) {
  std::string s = head + "0\"\n";
  for (int i = 0; i < count; ++i)
    s += "[l" + std::to_string(i) + "]\n" + head + std::to_string(i + 1) +
         "\"\n";
  return s + tail;
}

struct Case {
  std::string bad;     // UTF-8, or code page 932 bytes when `raw`
  std::string expect;  // the kind, line:column, and a part of the message
  std::string good;
  bool raw = false;
  bool alone = false;  // the only finding in `bad`
};

// The message window needs the palette of a picture loaded first.
const std::string kPicture = "gload\"data\\pic.bmp,0,0,0\"\n";

const std::string kRoom = "gload\"data\\room.bmp,0,0,0\"\n";
const std::string kMowa = "\"\ntext_write\"もわ,0,0,16,255,0\"\nend\n";

const Case kCases[] = {
    // clang-format off
    {"goto\"thre\"\n[there]\nend\n", "missing-label 1:6 did you mean 'there'?",
     "goto\"there\"\n[there]\nend\n"},
    {"if\"@01<1,stay,Go\"\n[stay]\nend\n[go]\nend\n", "missing-label 1:15 did "
     "you mean 'go'?", "if\"@01<1,stay,go\"\n[stay]\nend\n[go]\nend\n"},
    {"if\"@01<1,there,no\"\n[there]\nend\n", "missing-label 1:16",
     "if\"@01<1,there,there\"\n[there]\nend\n"},
    {"\"thre\"\n[there]\nend\n", "missing-label 1:2",
     "\"there\"\n[there]\nend\n"},
    {"wait\"10\" #pause\nend\n", "comment-statement 1:10",
     "# pause\nwait\"10\"\nend\n"},
    {"message\"あ [え]\"\nend\n", "comment-statement 1:11",
     kPicture + "message\"あ［え］\"\nend\n"},
    {"Goto\"a\"\n[a]\nend\n", "unknown-command 1:1 did you mean 'goto'?",
     "goto\"a\"\n[a]\nend\n"},
    {"  mesage\"あ\"\nend\n", "unknown-command 1:3 did you mean 'message'?",
     kPicture + "  message\"あ\"\nend\n"},
    {"boxfill\"0,0,10,10\"\nend\n", "missing-argument 1:18",
     "boxfill\"0,0,10,10,255\"\nend\n"},
    {"text_write\"あ\"\nend\n", "missing-argument 1:13",
     "text_write\"あ,0,0,16,255,0\"\nend\n"},
    {"wait\"ten\"\nend\n", "bad-argument 1:6", "wait\"10\"\nend\n"},
    {"@01=@023+1\nend\n", "bad-argument 1:8", "@01=@02+1\nend\n"},
    {"@01=@02x4\nend\n", "number-text 1:8", "@01=@02*4\nend\n"},
    {"rand\"@1x\"\nend\n", "bad-variable 1:6", "rand\"@12\"\nend\n"},
    {"@01=@0a+1\nend\n", "bad-variable 1:5", "@01=@01+1\nend\n"},
    {"if\"@01!3,a,a\"\n[a]\nend\n", "if-operator 1:7",
     "if\"@01<3,a,a\"\n[a]\nend\n"},
    {"if\"@01<3,a\"\n[a]\nend\n", "if-no-label 1:11",
     "if\"@01<3,a,a\"\n[a]\nend\n"},
    {"#" + std::string(299, 'x') + "\nend\n", "line-too-long 1:256",
     "#" + std::string(200, 'x') + "\nend\n"},
    {"gload\"" + std::string(81, 'a') + ",0,0,0\"\nend\n", "long-file-name 1:7",
     "gload\"data\\pic.bmp,0,0,0\"\nend\n"},
    {"gload\"data\\pict.bmp,0,0,0\"\nend\n", "missing-file 1:7",
     "gload\"DATA\\PIC.BMP,0,0,0\"\nend\n"},
    {"play_wav\"data\\b.wav,0\"\nend\n", "missing-file 1:10",
     "play_wav\"data/a.wav,0\"\nend\n"},
    {"gload\"data\\rgb.bmp,0,0,0\"\nend\n", "bad-file 1:7 true-colour",
     "gload\"data\\pic.bmp,0,0,0\"\nend\n"},
    {"character\"data\\big.bmp,0,0,0,0\"\nend\n", "bad-file 1:11 at most 640 "
     "wide", "character\"data\\spr.bmp,0,0,0,0\"\nend\n"},
    {"play_wav\"data\\pic.bmp,0\"\nend\n", "bad-file 1:10 not a WAV file",
     "play_wav\"data\\a.wav,0\"\nend\n"},
    {"play_midi\".\\data\\a.wav\"\nend\n", "bad-file 1:11 MIDI",
     "play_midi\".\\data\\theme.mid\"\nend\n"},
    {"play_midi\"data\\theme.mid\"\nend\n", "midi-path 1:11",
     "play_midi\".\\data\\theme.mid\"\nend\n"},
    {lines_of("goto\"l", 1001, "[l1001]\nend\n"), "too-many-labels 2002:1",
     lines_of("goto\"l", 999, "[l999]\nend\n")},
    {"goto\"abcdefghijklmnopq\"\n[abcdefghijklmnopq]\nend\n",
     "label-too-long 2:1 a label name has at most 16 bytes",
     "goto\"abcdefghijklmnop\"\n[abcdefghijklmnop]\nend\n"},
    {"wait\"10\nend\n", "unclosed-quote 1:8", "wait\"10\"\nend\n"},
    {"[a]\nend\n", "unused-label 1:1", "goto\"a\"\n[a]\nend\n"},
    {"goto\"a\"\n[a]\n[a]\nend\n", "duplicate-label 3:1",
     "goto\"a\"\n[a]\nend\n"},
    {"goto\"a\"\n[a] # start\nend\n", "label-trailing-text 2:4",
     "goto\"a\"\n[a]\nend\n"},
    {"goto\"a\"\nend\n[a]", "label-no-newline 3:1",
     "goto\"a\"\nend\n[a]\nend\n"},
    {"goto\"my label\"\n[my label]\nend\n", "label-blank 2:4",
     "goto\"mylabel\"\n[mylabel]\nend\n"},
    {"goto\"a\"\n  [a]\nend\n", "label-indented 2:3", "goto\"a\"\n[a]\nend\n"},
    {"@05=1+2+3\nend\n", "assign-operators 1:8", "@05=1+2\n@05=@05+3\nend\n"},
    {"@01=-5*2\nend\n", "assign-operators 1:7", "@01=-5\n@01=@01*2\nend\n"},
    {"wait\"10ms\"\nend\n", "number-text 1:8", "wait\"10\"\nend\n"},
    {"message\"あいxyz\"\nend\n", "message-ascii 1:11",
     kPicture + "message\"あいｘｙｚ\"\nend\n"},
    {"message\"catです\"\nend\n", "message-escape 1:9",
     kPicture + "message\"c0000ffです\"\nend\n"},
    {"message\"一/二/三/四/五\"\nend\n", "message-overflow 1:16",
     kPicture + "message\"一/二/三/四\"\nend\n"},
    {"message\"" + repeated("一", 24) + "\"\nend\n", "message-overflow 1:32",
     kPicture + "message\"" + repeated("一", 23) + "\"\nend\n"},
    {"text_write\"\x85\x40,0,0,16,255,0\"\nend\n", "bad-cp932 1:12",
     "text_write\"あ,0,0,16,255,0\"\nend\n", true},
    {"screen_black_out\"-1\"\nend\n", "negative-delay 1:18",
     "screen_black_out\"1\"\nend\n"},
    {"boxfill\"0,0,700,10,255\"\nend\n", "off-picture 1:9",
     "boxfill\"0,0,640,10,255\"\nend\n"},
    {"character\"data\\spr.bmp,600,0,0,0\"\nend\n", "off-picture 1:11",
     "character\"data\\spr.bmp,576,0,0,0\"\nend\n"},
    {"screen_copy\"0,0,100,100,600,0\"\nend\n", "off-picture 1:13",
     "screen_copy\"0,0,100,100,540,0\"\nend\n"},
    {"wait\"1\"\n", "no-end 1:1", "wait\"1\"\nend\n"},
    {"if\"@01=0,a,b\"\n[a]\nend\n[b]\n", "no-end 1:1",
     "if\"@01=0,a,b\"\n[a]\nend\n[b]\nend\n"},
    {"gosub\"a\"\nend\n[a]\ngosub\"b\"\nreturn\n[b]\nreturn\n",
     "nested-gosub 4:1",
     "gosub\"a\"\ngosub\"b\"\nend\n[a]\nreturn\n[b]\nreturn\n"},
    // Saved without iconv: one finding, not one for each odd byte.
    {kPicture + "message\"ようこそ/" + repeated("一", 30) + kMowa,
     "utf8-scenario 2:9 iconv -f UTF-8 -t CP932",
     kPicture + "message\"ようこそ/" + repeated("一", 20) + kMowa, true, true},
    {"message\"あ\"\nend\n", "message-no-picture 1:1 SelectPaletteに失敗しました。",
     kPicture + "message\"あ\"\nend\n"},
    {"if\"@01=0,a,b\"\n[a]\n" + kPicture + "[b]\n  message_out\nend\n",
     "message-no-picture 5:3",
     kPicture + "if\"@01=0,a,b\"\n[a]\n[b]\nmessage_out\nend\n"},
    {kRoom + "character\"data\\hero-old.bmp,0,0,0,0\"\nend\n",
     "sprite-palette 2:11 a sprite's own colours are ignored",
     kRoom + "character\"data\\hero.bmp,0,0,0,0\"\nend\n"},
    // clang-format on
};

TEST(Lint, EachKindFoundAtItsPlaceAndGoneWhenCorrected) {
  Scenario& s = folder_with_files();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.expect);
    std::istringstream expect(c.expect);
    std::string kind, place, says;
    expect >> kind >> place;
    std::getline(expect >> std::ws, says);
    s.write("data/mowa.snr", c.raw ? c.bad : to_cp932(c.bad));
    const Lint r = lint(s.dir());
    const auto found =
        std::find_if(r.findings.begin(), r.findings.end(),
                     [&](const Event& f) { return f.at("name") == kind; });
    if (found == r.findings.end()) {
      ADD_FAILURE() << r.out;
      continue;
    }
    EXPECT_EQ(found->at("line") + ":" + found->at("column"), place) << r.out;
    EXPECT_NE(found->at("message").find(says), std::string::npos)
        << found->at("message");
    if (c.alone) {
      EXPECT_EQ(r.findings.size(), 1u) << r.out;
    }

    s.write("data/mowa.snr", to_cp932(c.good));
    const Lint fixed = lint(s.dir());
    EXPECT_TRUE(fixed.findings.empty()) << fixed.out;
    EXPECT_EQ(fixed.exit_code, 0) << fixed.out;
  }
}

// Statements the engine reads as their writer meant, though they look odd.
TEST(Lint, WhatTheEngineDoesAsMeantIsNoError) {
  Scenario& s = folder_with_files();
  for (const char* text :
       {"\"top\"\n[top]\nend\n", "goto  \"a b\"\n[ab]\nend\n",
        "get_mouse_position\"@01;@02\"\nend\n",
        "@01=-7\n@02=7/-2\n@03=@01*-1\n@04 = 4 * 5\nend\n",
        "stop_wav\"x\"\nwait\"@07\"\nend\n",
        "gload\"data\\pic.bmp,0,0,0\"\nmessage\"あ\nend\n",
        "goto\"a\"\r\n[a]\r\nend\r\n",
        "gload\"data\\pic.bmp,0,0,0\"\ntext_write\"ABC,0,0,24,255,1\"\n"
        "message\"c0000ff赤/cff0000青\"\nend\n",
        // Free text needs no picture, and a fade gives the window a palette.
        "text_write\"あ,0,0,16,255,0\"\nnumber_write\"5,0,0,16,255,0\"\n"
        "screen_black_in\"0\"\nmessage_out\nend\n",
        "wait\"10\"#pause\n\t# comment\nend"}) {
    s.write("data/mowa.snr", to_cp932(text));
    const Lint r = lint(s.dir());
    for (const Event& f : r.findings)
      EXPECT_NE(f.at("severity"), "error") << text << r.out;
    EXPECT_EQ(r.exit_code, 0) << text << r.out;
  }
}

TEST(Lint, TextFormSilencingAndExitStatus) {
  Scenario s;
  s.script("Goto\"a\"\ngoto\"a\"\n[a]\nwait\"-1\"\nend\n");
  const Lint text = lint(s.dir(), "");
  EXPECT_EQ(text.exit_code, 1);
  const std::string file = s.dir() + "/data/mowa.snr";
  for (const std::string& part :
       {file + ":1:1: error: unknown command 'Goto'",
        file + ":4:6: warning: ", std::string("[negative-delay]\n")})
    EXPECT_NE(text.out.find(part), std::string::npos) << text.out;

  // Without the error only the warning is left, and a warning fails nothing.
  const Lint quiet = lint(s.dir(), "--json -W no-unknown-command");
  ASSERT_EQ(quiet.findings.size(), 1u) << quiet.out;
  EXPECT_EQ(quiet.findings[0].at("name"), "negative-delay");
  EXPECT_EQ(quiet.exit_code, 0);
  EXPECT_EQ(lint(s.dir(), "-W no-such-kind").exit_code, 2);
}

// The guide's tables of findings are the checker's own list.
TEST(Lint, TheGuideListsEveryKind) {
  const Lint tables = lint("", "--list-markdown");
  ASSERT_EQ(tables.exit_code, 0) << tables.out;
  EXPECT_NE(slurp(std::string(MOWA_SOURCE_DIR) + "/docs/scenario.md")
                .find(tables.out),
            std::string::npos)
      << "docs/scenario.md should hold mowa-lint --list-markdown:\n"
      << tables.out;
}

TEST(Lint, TheDemoLintsClean) {
  const Lint r = lint(MOWA_DEMO_DIR);
  EXPECT_EQ(r.exit_code, 0) << r.out;
  EXPECT_TRUE(r.findings.empty()) << r.out;
}

}  // namespace
}  // namespace mowa::test
