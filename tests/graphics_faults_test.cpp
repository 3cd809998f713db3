// Every checked call of the picture routines, failed on purpose: the error
// box it shows, under which caption, and what the window shows afterwards.
#include <gtest/gtest.h>

#include "bmp_writer.h"
#include "window_capture.h"

namespace mowa::test {
namespace {

// Start-up makes one GetDC, ReleaseDC and UpdateWindow of its own (display
// mode and first paint), so the graphics routines' calls of those come later.
const std::string kLoad = "gload\"a.bmp,0,0,0\"\n";

enum class Shown { any, picture, black };

struct FaultCase {
  const char* name;
  const char* fault;  // --fail rule
  std::string statements;
  std::vector<std::string> errors;
  Shown shown = Shown::any;
};
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class GraphicsFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(GraphicsFault, IsReportedUnderTheRoutinesCaption) {
  const FaultCase& c = GetParam();
  Scenario s;
  s.write("a.bmp", block_picture().file());
  s.write("s.bmp", sprite(8, 8, [](int, int) { return 1; }).file());
  s.script(c.statements + "end\n");
  const PictureRun run = run_pictures(s, {"--fail", c.fault});
  EXPECT_EQ(run.result.exit_code, 0) << run.result.err;
  EXPECT_EQ(run.errors(), c.errors);
  if (c.shown == Shown::picture) {
    EXPECT_TRUE(same_pixels(run.screenshot, drawn(block_picture())));
  } else if (c.shown == Shown::black) {
    EXPECT_TRUE(same_pixels(run.screenshot, black_window()));
  }
}

std::string failed(const std::string& caption, const std::string& call) {
  return caption + ": " + call + "に失敗しました。";
}

const std::string kBroken = "opendib: a.bmpがこわれているの～、くすん。";

INSTANTIATE_TEST_SUITE_P(
    Calls, GraphicsFault,
    ::testing::Values(
        // The loader; where the scenario loads twice, the second load fails.
        FaultCase{"opendib_lock", "GlobalLock@5", kLoad + kLoad,
                  {failed("opendib", "GlobalLock")}, Shown::picture},
        // The header read at the wrong place sends the load through the
        // whole-file reading, which still finds the picture.
        FaultCase{"opendib_seek", "SetFilePointer@2", kLoad + kLoad,
                  {failed("opendib", "SetFilePointer")}, Shown::picture},
        FaultCase{"opendib_read_header", "ReadFile@4", kLoad + kLoad,
                  {failed("opendib", "ReadFile"), kBroken}, Shown::picture},
        FaultCase{"opendib_read_colours", "ReadFile@2", kLoad,
                  {failed("opendib", "ReadFile")}, Shown::black},
        FaultCase{"opendib_size", "GetFileSize", kLoad,
                  {failed("opendib", "GetFileSize")}, Shown::picture},
        FaultCase{"opendib_close", "CloseHandle", kLoad,
                  {failed("opendib", "CloseHandle")}, Shown::picture},
        FaultCase{"opendib_logpalette", "LocalAlloc@1", kLoad,
                  {failed("opendib", "LocalAlloc")}, Shown::picture},
        FaultCase{"opendib_palette", "CreatePalette@1", kLoad,
                  {failed("opendib", "CreatePalette")}, Shown::picture},
        FaultCase{"opendib_free", "LocalFree@1", kLoad,
                  {failed("opendib", "LocalFree")}, Shown::picture},
        FaultCase{"opendib_unlock", "GlobalUnlock@2", kLoad,
                  {failed("opendib", "GlobalUnlock")}, Shown::picture},
        FaultCase{"opendib_missing", "none", kLoad + "gload\"b.bmp,9,9,0\"\n",
                  {"opendib: b.bmpが見つからないの～、くすん。"}, Shown::picture},
        FaultCase{"palette_black_lock", "GlobalLock@2", kLoad,
                  {failed("palette_black", "GlobalLock")}, Shown::picture},
        FaultCase{"palette_black_unlock", "GlobalUnlock@1", kLoad,
                  {failed("palette_black", "GlobalUnlock")}, Shown::picture},
        FaultCase{"palette_show_lock", "GlobalLock@3", kLoad,
                  {failed("palette_show", "GlobalLock")}, Shown::black},
        FaultCase{"palette_show_unlock", "GlobalUnlock@3", kLoad,
                  {failed("palette_show", "GlobalUnlock")}, Shown::picture},
        // The paint.
        FaultCase{"showdib_lock", "GlobalLock@4", kLoad,
                  {failed("showdib", "GlobalLock")}, Shown::black},
        FaultCase{"showdib_blit", "StretchDIBits", kLoad,
                  {failed("showdib", "StretchDIBits")}, Shown::black},
        FaultCase{"showdib_unlock", "GlobalUnlock@4", kLoad,
                  {failed("showdib", "GlobalUnlock")}, Shown::picture},
        // Fades: the screen image stays locked through the twenty steps.
        FaultCase{"fade_out_lock", "GlobalLock@5", kLoad + "screen_black_out\"0\"\n",
                  {failed("palette_black_out", "GlobalLock")}, Shown::picture},
        FaultCase{"fade_in_step_palette", "LocalAlloc@2", kLoad + "screen_black_in\"0\"\n",
                  {failed("palette_black_in", "LocalAlloc")}, Shown::picture},
        FaultCase{"fade_in_palette", "CreatePalette@3", kLoad + "screen_black_in\"0\"\n",
                  {failed("palette_black_in", "CreatePalette")}, Shown::picture},
        FaultCase{"fade_out_invalidate", "InvalidateRect@2", kLoad + "screen_black_out\"0\"\n",
                  {failed("palette_black_out", "InvalidateRect")}, Shown::black},
        FaultCase{"fade_in_update", "UpdateWindow@3", kLoad + "screen_black_in\"0\"\n",
                  {failed("palette_black_in", "UpdateWindow")}, Shown::picture},
        FaultCase{"fade_out_unlock", "GlobalUnlock@25", kLoad + "screen_black_out\"0\"\n",
                  {failed("palette_black_out", "GlobalUnlock")}, Shown::black},
        // Sprites and copies.
        FaultCase{"character_lock", "GlobalLock@5", kLoad + "character\"s.bmp,0,0,1,0\"\n",
                  {failed("character", "GlobalLock")}, Shown::picture},
        FaultCase{"character_invalidate", "InvalidateRect@2", kLoad + "character\"s.bmp,0,0,1,0\"\n",
                  {failed("character", "InvalidateRect")}},
        FaultCase{"character_update", "UpdateWindow@3", kLoad + "character\"s.bmp,0,0,1,0\"\n",
                  {failed("character", "UpdateWindow")}},
        FaultCase{"copy_screen_lock", "GlobalLock@5", kLoad + "screen_copy\"0,0,640,480,0,0\"\ngload\"-,0,0,3\"\n",
                  {failed("screen_copy", "GlobalLock")}, Shown::picture},
        FaultCase{"copy_back_lock", "GlobalLock@6", kLoad + "screen_copy\"0,0,640,480,0,0\"\ngload\"-,0,0,3\"\n",
                  {failed("screen_copy", "GlobalLock")}, Shown::picture},
        // The zoom's two halves report under different captions.
        FaultCase{"zoom_in_invalidate", "InvalidateRect@2", kLoad + "screen_big_small\n",
                  {failed("screen_big_small", "InvalidateRect")}, Shown::picture},
        FaultCase{"zoom_out_update", "UpdateWindow@13", kLoad + "screen_big_small\n",
                  {failed("script", "UpdateWindow")}, Shown::picture},
        // Boxes: nothing is drawn without the pen, the brush or the context.
        FaultCase{"boxfill_pen", "CreatePen", "boxfill\"0,0,640,480,255\"\n",
                  {failed("boxfill", "CreatePen")}, Shown::black},
        FaultCase{"boxfill_brush", "CreateSolidBrush", "boxfill\"0,0,640,480,255\"\n",
                  {failed("boxfill", "CreateDolidBrush")}, Shown::black},
        FaultCase{"boxfill_dc", "GetDC@2", "boxfill\"0,0,640,480,255\"\n",
                  {failed("boxfill", "GetDC")}, Shown::black},
        FaultCase{"boxfill_select", "SelectObject@2", "boxfill\"0,0,640,480,255\"\n",
                  {failed("boxfill", "SelectObject")}},
        FaultCase{"boxfill_rectangle", "Rectangle", "boxfill\"0,0,640,480,255\"\n",
                  {failed("boxfill", "Rectangle")}, Shown::black},
        FaultCase{"boxfill_release", "ReleaseDC@2", "boxfill\"0,0,640,480,255\"\n",
                  {failed("boxfill", "ReleaseDC")}},
        FaultCase{"boxfill_delete", "DeleteObject", "boxfill\"0,0,640,480,255\"\n",
                  {failed("boxfill", "DeleteObject"), failed("boxfill", "DeleteObject")}},
        FaultCase{"box_pen", "CreatePen", "box\"0,0,639,479,255\"\n",
                  {failed("box", "CreatePen")}, Shown::black},
        FaultCase{"box_dc", "GetDC@2", "box\"0,0,639,479,255\"\n",
                  {failed("box", "GetDC")}, Shown::black},
        FaultCase{"box_move", "MoveToEx", "box\"0,0,639,479,255\"\n",
                  {failed("box", "MoveToEx")}},
        FaultCase{"box_line", "LineTo@3", "box\"0,0,639,479,255\"\n",
                  {failed("box", "LineTo")}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mowa::test
