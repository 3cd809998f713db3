// Every checked call of the picture routines, made to fail for one
// statement: the error boxes it shows, under which captions, and what the
// window shows afterwards. In-process, so each case takes milliseconds.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/bmp_writer.h"
#include "support/in_process.h"
#include "support/window_capture.h"

namespace mowa::test {
namespace {

enum class Shown { any, picture, black };
constexpr Shown kPicture = Shown::picture, kBlack = Shown::black;

std::vector<std::string> failed(const std::string& caption,
                                const std::string& call, int times = 1) {
  return std::vector<std::string>(static_cast<std::size_t>(times),
                                  caption + ": " + call + "に失敗しました。");
}

const std::string kLoad = "gload\"a.bmp,0,0,0\"\n";
const std::string kBroken = "opendib: a.bmpがこわれているの～、くすん。";
const std::string kFill = "boxfill\"0,0,640,480,255\"\n";
const std::string kBox = "box\"0,0,639,479,255\"\n";

TEST(GraphicsFault, IsReportedUnderTheRoutinesCaption) {
  const std::string character = "character\"s.bmp,0,0,1,0\"\n",
                    copy = "screen_copy\"0,0,640,480,0,0\"\n";
  const std::string out = "screen_black_out\"0\"\n",
                    in = "screen_black_in\"0\"\n";
  const struct {
    std::string before;     // statements that run normally first
    std::string statement;  // the one during which `call` fails
    const char* call;
    std::vector<std::string> boxes;
    Shown shown = Shown::any;
  } cases[] = {
      // clang-format off
      // The loader and the colour-table routines that gload calls, then the
      // paint that it requests.
      {"", kLoad, "GlobalLock", failed("opendib", "GlobalLock") +
           failed("palette_black", "GlobalLock") +
           failed("palette_show", "GlobalLock") +
           failed("showdib", "GlobalLock"), kBlack},
      {kLoad, kLoad, "SetFilePointer",
       failed("opendib", "SetFilePointer", 2) + std::vector{kBroken},
       kPicture},
      {kLoad, kLoad, "ReadFile",
       failed("opendib", "ReadFile") + std::vector{kBroken}, kPicture},
      {"", kLoad, "GetFileSize", failed("opendib", "GetFileSize"), kPicture},
      {"", kLoad, "CloseHandle", failed("opendib", "CloseHandle"), kPicture},
      {"", kLoad, "LocalAlloc", failed("opendib", "LocalAlloc"), kPicture},
      {"", kLoad, "CreatePalette", failed("opendib", "CreatePalette"),
       kPicture},
      {"", kLoad, "LocalFree", failed("opendib", "LocalFree"), kPicture},
      {"", kLoad, "GlobalUnlock", failed("palette_black", "GlobalUnlock") +
           failed("opendib", "GlobalUnlock") +
           failed("palette_show", "GlobalUnlock") +
           failed("showdib", "GlobalUnlock")},
      {kLoad, "gload\"b.bmp,9,9,0\"\n", "none",
       {"opendib: b.bmpが見つからないの～、くすん。"}, kPicture},
      {"", kLoad, "StretchDIBits", failed("showdib", "StretchDIBits"), kBlack},
      // Fades: the screen image stays locked through the twenty steps, each
      // of which makes a palette and asks for its paint.
      {kLoad, out, "GlobalLock", failed("palette_black_out", "GlobalLock") +
           failed("showdib", "GlobalLock", 20) +
           failed("palette_show", "GlobalLock"), kPicture},
      {kLoad, in, "LocalAlloc", failed("palette_black_in", "LocalAlloc"),
       kPicture},
      {kLoad, in, "CreatePalette",
       failed("palette_black_in", "CreatePalette", 20), kPicture},
      {kLoad, out, "InvalidateRect",
       failed("palette_black_out", "InvalidateRect", 20), kPicture},
      {kLoad, in, "UpdateWindow",
       failed("palette_black_in", "UpdateWindow", 20), kPicture},
      {kLoad, out, "GlobalUnlock", failed("showdib", "GlobalUnlock", 20) +
           failed("palette_black_out", "GlobalUnlock") +
           failed("palette_show", "GlobalUnlock")},
      // Sprites and copies.
      {kLoad, character, "GlobalLock", failed("character", "GlobalLock") +
           failed("showdib", "GlobalLock"), kPicture},
      {kLoad, character, "InvalidateRect",
       failed("character", "InvalidateRect")},
      {kLoad, character, "UpdateWindow", failed("character", "UpdateWindow")},
      {kLoad, copy, "GlobalLock", failed("screen_copy", "GlobalLock", 2),
       kPicture},
      // The zoom's two halves report under different captions.
      {kLoad, "screen_big_small\n", "InvalidateRect",
       failed("screen_big_small", "InvalidateRect", 10) +
           failed("script", "InvalidateRect", 10), kPicture},
      // Boxes: nothing is drawn without the pen, the brush or the context.
      {"", kFill, "CreatePen", failed("boxfill", "CreatePen"), kBlack},
      {"", kFill, "CreateSolidBrush", failed("boxfill", "CreateDolidBrush"),
       kBlack},
      {"", kFill, "GetDC", failed("boxfill", "GetDC"), kBlack},
      {"", kFill, "SelectObject", failed("boxfill", "SelectObject", 2)},
      {"", kFill, "Rectangle", failed("boxfill", "Rectangle"), kBlack},
      {"", kFill, "ReleaseDC", failed("boxfill", "ReleaseDC")},
      {"", kFill, "DeleteObject", failed("boxfill", "DeleteObject", 2)},
      {"", kBox, "CreatePen", failed("box", "CreatePen"), kBlack},
      {"", kBox, "GetDC", failed("box", "GetDC"), kBlack},
      {"", kBox, "MoveToEx", failed("box", "MoveToEx")},
      {"", kBox, "LineTo", failed("box", "LineTo", 4), kBlack},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before + c.statement + c.call + " failing");
    Scenario s;
    s.write("a.bmp", block_picture().file());
    s.write("s.bmp", sprite(8, 8, [](int, int) { return 1; }).file());
    s.script(c.before + c.statement + "end\n");
    InProcess run(s);
    for (auto n = std::count(c.before.begin(), c.before.end(), '\n'); n > 0;
         --n)
      run.statement();
    ASSERT_EQ(run.boxes(), std::vector<std::string>{});
    run.statement_failing(c.call);
    EXPECT_EQ(run.boxes(), c.boxes);
    if (c.shown != Shown::any) {
      const Pixels expected =
          c.shown == Shown::picture ? drawn(block_picture()) : black_window();
      EXPECT_TRUE(same_pixels(run.shown(), expected));
    }
    run.expect_balanced = std::string(c.call) != "GlobalUnlock";
  }
}

}  // namespace
}  // namespace mowa::test
