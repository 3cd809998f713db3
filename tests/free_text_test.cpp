// Numbers and texts written anywhere on the window, force_write, the font
// set made at start-up, and the boxes of every text routine. Pixels are read
// in-process; the font set's failures are seen through mowa-headless.
#include <gtest/gtest.h>

#include <string>

#include "support/in_process.h"
#include "support/text_test_support.h"

namespace mowa::test {
namespace {

// Numbers show their decimal digits. Up to 10 pixels the face keeps its own
// proportions, so the text stays legible; above, the font is narrowed by ten
// as it comes.
TEST(TextWrite, DrawsWithTheCallFont) {
  const struct {
    std::string statement;
    int size, width;  // of the font the call makes
    TextPiece piece;
    int characters;  // drawn apart from each other
  } cases[] = {
      {"number_write\"-5,100,200,24,16777215,0\"", 24, 14, {100, 200, "-5"}, 2},
      {"number_write\"0,100,200,24,16777215,0\"", 24, 14, {100, 200, "0"}, 1},
      {"text_write\"AB,100,200,24,255,0\"", 24, 14, {100, 200, "AB", 0xFF}, 2},
      {"text_write\"AB,100,200,11,255,0\"", 11, 1, {100, 200, "AB", 0xFF}, 1},
      {"text_write\"AB,100,200,10,255,0\"", 10, 0, {100, 200, "AB", 0xFF}, 2},
      {"text_write\"AB,100,200,8,255,0\"", 8, 0, {100, 200, "AB", 0xFF}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.statement);
    const Pixels shot = run_text(c.statement + "\n", true, true).screenshot;
    EXPECT_TRUE(
        same_pixels(shot, reference_text(gothic(c.size, c.width), {c.piece})));
    const std::uint32_t rgb = pf::rgb_from_colorref(c.piece.colour);
    int runs = 0;
    for (int x = 1; x < kWindowWidth; ++x)
      runs += ink(shot, rgb, true, {x, 0, x + 1, 480}).count > 0 &&
              ink(shot, rgb, true, {x - 1, 0, x, 480}).count == 0;
    EXPECT_EQ(runs, c.characters);
  }
}

TEST(TextWrite, OpaqueOnWhiteCellsTransparentOverThePicture) {
  for (const bool opaque : {true, false}) {
    SCOPED_TRACE(opaque ? "opaque" : "transparent");
    const Pixels shot = run_text(std::string("text_write\"AB,100,200,24,255,") +
                                     (opaque ? "1" : "0") + "\"\n",
                                 true, true)
                            .screenshot;
    const Ink drawn = ink(shot, kPictureRgb, false);
    const int red = ink(shot, kRedRgb).count;
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
  const PictureRun kept = run_text(write, true, true);
  EXPECT_TRUE(frames_of_step(kept, 2).empty());  // force_write shows nothing
  EXPECT_GT(ink(kept.screenshot, kRedRgb).count, 0);
  const PictureRun wiped =
      run_text(write + "gload\"pic.bmp,0,0,0\"\n", true, true);
  EXPECT_EQ(ink(wiped.screenshot, kPictureRgb, false).count, 0);
}

TEST(FontSet, AFailureShowsOneBoxNoWindowAndExitsWithZero) {
  for (const int member : {1, 3, 8}) {
    SCOPED_TRACE(member);
    Scenario s;
    s.script("message\"一\"\nend\n");
    const RunResult r =
        s.run({"--fail", "CreateFontIndirectA@" + std::to_string(member)});
    expect_outcome(r, {"", {"フォントが設定できないの"}, "Program", "none"});
    EXPECT_TRUE(r.of("present").empty());
  }
}

// A failed call shows its box each time it is made, and the statement goes
// on to its end. In-process: the call fails for exactly that statement.
TEST(TextFault, ShowsTheBoxEachTimeAndGoesOn) {
  const char kIn[] = "message\"一c0000ff行\"\n";
  const char kOut[] = "message_out\n";
  const char kNum[] = "number_write\"7,10,10,24,255,0\"\n";
  const char kText[] = "text_write\"A,10,10,24,255,0\"\n";
  const struct {
    const char* statement;
    const char* fault;  // the call that fails throughout the statement
    const char* caption;
    int count = 1;
    const char* call = nullptr;  // as the box names it, when not `fault`
  } cases[] = {
      // clang-format off
      {kIn, "GetDC", "Message_in"}, {kIn, "RealizePalette", "Message_in", 7},
      {kIn, "ReleaseDC", "message_in"}, {kIn, "SetBkMode", "message_write", 7},
      {kIn, "SelectObject", "message_write", 7},
      // The first setting and the escape, in each of seven frames.
      {kIn, "SetTextColor", "message_write", 14},
      {kIn, "TextOutA", "message_write", 14, "TextOut"},
      {kOut, "GetDC", "Message_out"}, {kOut, "ReleaseDC", "message_out"},
      {kOut, "RealizePalette", "Message_out", 7},
      {kOut, "InvalidateRect", "message_out"},
      {kOut, "UpdateWindow", "message_out"},
      {kNum, "SetBkMode", "number_write"},
      {"number_write\"7,10,10,24,255,1\"\n", "SetBkMode", "number_write", 0},
      // A font that cannot be made shows as a failed selection.
      {kNum, "CreateFontIndirectA", "number_write", 1, "SelectObject"},
      {kNum, "SetTextColor", "number_write"},
      {kNum, "TextOutA", "number_write", 1, "TextOut"},
      {kNum, "DeleteObject", "number_write"},
      {kNum, "InvalidateRect", "number_write"},
      {kNum, "UpdateWindow", "number_write"},
      {kNum, "ReleaseDC", "number_write"}, {kNum, "GetDC", "number_write"},
      {kText, "SelectObject", "text_write"},
      {kText, "TextOutA", "text_write", 1, "TextOut"},
      {"force_write\n", "InvalidateRect", "character"},
      {"force_write\n", "UpdateWindow", "character"},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.statement) + c.fault);
    Scenario s;
    s.script(std::string(c.statement) + "end\n");
    InProcess run(s);
    run.statement_failing(c.fault);
    const std::string text = std::string(c.caption) + ": " +
                             (c.call ? c.call : c.fault) + "に失敗しました。";
    const auto boxes = run.boxes();
    EXPECT_EQ(std::count(boxes.begin(), boxes.end(), text), c.count);
    EXPECT_EQ(run.p.script.pointer, 2) << "the statement ran to its end";
  }
}

// When the font cannot be deselected it cannot be deleted either; it is
// deleted once the device context is released, so nothing is left behind.
TEST(TextWrite, AFontThatStaysSelectedIsStillDeleted) {
  Scenario s;
  s.script("text_write\"AB,10,10,24,255,0\"\nend\n");
  // The second selection of the run is the one that puts the old font back.
  const RunResult r = s.run({"--fail", "SelectObject@2"});
  EXPECT_EQ(r.box_texts(), (std::vector<std::string>{
                               "DeleteObjectに失敗しました。", kFarewell}));
  ASSERT_EQ(r.of("held").size(), 1u);
  EXPECT_EQ(r.of("held")[0].at("gdi_objects"), "0");
}

}  // namespace
}  // namespace mowa::test
