// Numbers and texts written anywhere on the window, force_write, the font
// set made at start-up, and the boxes of every text routine, seen through
// mowa-headless.
#include <gtest/gtest.h>

#include <string>

#include "in_process.h"
#include "text_test_support.h"

namespace mowa::test {
namespace {

struct WriteCase {
  std::string statement;
  int size, width;  // of the font the call makes
  TextPiece piece;
  int characters;  // drawn apart from each other
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.statement; }

class WriteTest : public ::testing::TestWithParam<WriteCase> {};

// Numbers show their decimal digits. Up to 10 pixels the face keeps its own
// proportions, so the text stays legible; above, the font is narrowed by ten
// as it comes.
TEST_P(WriteTest, DrawsWithTheCallFont) {
  const WriteCase& c = GetParam();
  Scenario s;
  run_text(s, c.statement + "\n");
  const Frame shot = load_frame(s.dir() + "/shot.png");
  EXPECT_EQ(differing_pixels(shot, reference_text(gothic(c.size, c.width), {c.piece},
                                                  kPictureRgb)),
            0);
  const std::uint32_t rgb = pf::rgb_from_colorref(c.piece.colour);
  int runs = 0;
  for (int x = 1; x < 640; ++x)
    runs += ink(shot, rgb, true, {x, 0, x + 1, 480}).count > 0 &&
            ink(shot, rgb, true, {x - 1, 0, x, 480}).count == 0;
  EXPECT_EQ(runs, c.characters);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, WriteTest,
    ::testing::Values(
        WriteCase{"number_write\"-5,100,200,24,16777215,0\"", 24, 14, {100, 200, "-5"}, 2},
        WriteCase{"number_write\"0,100,200,24,16777215,0\"", 24, 14, {100, 200, "0"}, 1},
        WriteCase{"text_write\"AB,100,200,24,255,0\"", 24, 14, {100, 200, "AB", 0xFF}, 2},
        WriteCase{"text_write\"AB,100,200,11,255,0\"", 11, 1, {100, 200, "AB", 0xFF}, 1},
        WriteCase{"text_write\"AB,100,200,10,255,0\"", 10, 0, {100, 200, "AB", 0xFF}, 2},
        WriteCase{"text_write\"AB,100,200,8,255,0\"", 8, 0, {100, 200, "AB", 0xFF}, 2}));

TEST(TextWrite, OpaqueOnWhiteCellsTransparentOverThePicture) {
  for (const bool opaque : {true, false}) {
    Scenario s;
    run_text(s, std::string("text_write\"AB,100,200,24,255,") +
                    (opaque ? "1" : "0") + "\"\n");
    const Frame shot = load_frame(s.dir() + "/shot.png");
    const Ink drawn = ink(shot, kPictureRgb, false);
    const int red = ink(shot, kRedRgb).count;
    SCOPED_TRACE(opaque ? "opaque" : "transparent");
    EXPECT_GT(red, 0);
    EXPECT_EQ(drawn.count, red + (opaque ? ink(shot, kWhiteRgb).count : 0));
    if (opaque) {
      // The cells from (100, 200) on hide the picture altogether.
      EXPECT_EQ(drawn.box.left, 100);
      EXPECT_EQ(drawn.box.top, 200);
      EXPECT_EQ(drawn.count, (drawn.box.right - drawn.box.left) *
                                 (drawn.box.bottom - drawn.box.top));
    }
  }
}

TEST(ForceWrite, LeavesTheTextUntilThePictureIsDrawnAgain) {
  const std::string write = "text_write\"AB,100,200,24,255,0\"\nforce_write\n";
  Scenario kept, wiped;
  const RunResult r = run_text(kept, write);
  EXPECT_TRUE(of_step(r, 2, "present").empty());  // force_write shows nothing
  EXPECT_GT(ink(load_frame(kept.dir() + "/shot.png"), kRedRgb).count, 0);
  run_text(wiped, write + "gload\"pic.bmp,0,0,0\"\n");
  EXPECT_EQ(ink(load_frame(wiped.dir() + "/shot.png"), kPictureRgb, false).count,
            0);
}

class FontSetFailureTest : public ::testing::TestWithParam<int> {};

TEST_P(FontSetFailureTest, OneBoxNoWindowExitZero) {
  Scenario s;
  s.script("message\"一\"\nend\n");
  const RunResult r =
      s.run({"--fail", "CreateFontIndirectA@" + std::to_string(GetParam())});
  EXPECT_EQ(r.exit_code, 0);
  const auto shown = r.of("message_box");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].at("text"), "フォントが設定できないの");
  EXPECT_EQ(shown[0].at("caption"), "Program");
  EXPECT_EQ(shown[0].at("owner"), "none");
  EXPECT_TRUE(r.of("present").empty());
}

INSTANTIATE_TEST_SUITE_P(Members, FontSetFailureTest,
                         ::testing::Values(1, 3, 8));

struct FaultCase {
  const char* statement;
  const char* fault;  // the call that fails throughout the statement
  const char* caption;
  const char* call;  // as the box names it
  int count;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
  *os << c.caption << " " << c.fault;
}

class TextFaultTest : public ::testing::TestWithParam<FaultCase> {};

// A failed call shows its box each time it is made, and the statement goes
// on to its end. In-process: the call fails for exactly that statement.
TEST_P(TextFaultTest, ShowsTheBoxAndGoesOn) {
  const FaultCase& c = GetParam();
  Scenario s;
  s.script(std::string(c.statement) + "end\n");
  InProcess run(s);
  run.statement_failing(c.fault);
  const std::string text = std::string(c.caption) + ": " + c.call + "に失敗しました。";
  const auto boxes = run.boxes();
  EXPECT_EQ(std::count(boxes.begin(), boxes.end(), text), c.count);
  EXPECT_EQ(run.p.script.pointer, 2) << "the statement ran to its end";
}

constexpr char kIn[] = "message\"一c0000ff行\"\n";
constexpr char kOut[] = "message_out\n";
constexpr char kNum[] = "number_write\"7,10,10,24,255,0\"\n";
constexpr char kText[] = "text_write\"A,10,10,24,255,0\"\n";

INSTANTIATE_TEST_SUITE_P(
    Calls, TextFaultTest,
    ::testing::Values(
        FaultCase{kIn, "GetDC", "Message_in", "GetDC", 1},
        FaultCase{kIn, "RealizePalette", "Message_in", "RealizePalette", 7},
        FaultCase{kIn, "ReleaseDC", "message_in", "ReleaseDC", 1},
        FaultCase{kIn, "SetBkMode", "message_write", "SetBkMode", 7},
        FaultCase{kIn, "SelectObject", "message_write", "SelectObject", 7},
        // The first setting and the escape, in each of seven frames.
        FaultCase{kIn, "SetTextColor", "message_write", "SetTextColor", 14},
        FaultCase{kIn, "TextOutA", "message_write", "TextOut", 14},
        FaultCase{kOut, "GetDC", "Message_out", "GetDC", 1},
        FaultCase{kOut, "RealizePalette", "Message_out", "RealizePalette", 7},
        FaultCase{kOut, "InvalidateRect", "message_out", "InvalidateRect", 1},
        FaultCase{kOut, "UpdateWindow", "message_out", "UpdateWindow", 1},
        FaultCase{kOut, "ReleaseDC", "message_out", "ReleaseDC", 1},
        FaultCase{kNum, "GetDC", "number_write", "GetDC", 1},
        FaultCase{kNum, "SetBkMode", "number_write", "SetBkMode", 1},
        FaultCase{"number_write\"7,10,10,24,255,1\"\n", "SetBkMode",
                  "number_write", "SetBkMode", 0},
        // A font that cannot be made shows as a failed selection.
        FaultCase{kNum, "CreateFontIndirectA", "number_write",
                  "SelectObject", 1},
        FaultCase{kNum, "SetTextColor", "number_write", "SetTextColor", 1},
        FaultCase{kNum, "TextOutA", "number_write", "TextOut", 1},
        FaultCase{kNum, "DeleteObject", "number_write", "DeleteObject", 1},
        FaultCase{kNum, "InvalidateRect", "number_write", "InvalidateRect", 1},
        FaultCase{kNum, "UpdateWindow", "number_write", "UpdateWindow", 1},
        FaultCase{kNum, "ReleaseDC", "number_write", "ReleaseDC", 1},
        FaultCase{kText, "SelectObject", "text_write", "SelectObject", 1},
        FaultCase{kText, "TextOutA", "text_write", "TextOut", 1},
        FaultCase{"force_write\n", "InvalidateRect", "character",
                  "InvalidateRect", 1},
        FaultCase{"force_write\n", "UpdateWindow", "character",
                  "UpdateWindow", 1}));

// When the font cannot be deselected it cannot be deleted either; it is
// deleted once the device context is released, so nothing is left behind.
TEST(TextWrite, AFontThatStaysSelectedIsStillDeleted) {
  Scenario s;
  s.script("text_write\"AB,10,10,24,255,0\"\nend\n");
  // The second selection of the run is the one that puts the old font back.
  const RunResult r = s.run({"--fail", "SelectObject@2"});
  EXPECT_EQ(r.box_texts(), (std::vector<std::string>{"DeleteObjectに失敗しました。", kFarewell}));
  ASSERT_EQ(r.of("held").size(), 1u);
  EXPECT_EQ(r.of("held")[0].at("gdi_objects"), "0");
}

}  // namespace
}  // namespace mowa::test
