// The message layout in-process: message_write of the program's own text part
// drawing with its font set on the software GDI, no window and no runner.
#include <gtest/gtest.h>

#include <string>

#include "graphics/graphics.h"
#include "platform/headless/headless_platform.h"
#include "support/text_test_support.h"
#include "text/text.h"

namespace mowa::test {
namespace {

// The text part with its font set, drawing on a 640x480 surface that shows
// the picture colour.
class MessageWrite : public ::testing::Test {
 protected:
  MessageWrite() {
    surface_.resize(640, 480);
    dc_ = hp_.gdi.open_dc(&surface_);
    EXPECT_TRUE(text::font_set_create(text_));
  }
  ~MessageWrite() override {
    hp_.gdi.close_dc(dc_);
    text::font_set_release(text_);
    EXPECT_EQ(hp_.gdi.live_objects(), 0u);
  }

  Pixels written(const std::string& cp932, int height = 28) {
    std::fill(surface_.pixels.begin(), surface_.pixels.end(), kPictureRgb);
    text::message_write(text_, dc_, cp932.c_str(), height);
    return surface_.pixels;
  }

  pf::HeadlessPlatform hp_{nullptr};
  pf::Hwnd main_window_ = nullptr;
  Reporter report_{hp_.box, nullptr, main_window_};
  graphics::Graphics gfx_{hp_.gdi,   hp_.memory, hp_.files,   hp_.window,
                          hp_.clock, report_,    main_window_};
  text::Text text_{hp_.gdi, hp_.window, hp_.clock, report_, gfx_, main_window_};
  pf::Surface surface_;
  pf::Hdc dc_ = nullptr;
};

// A byte that is no lower-case digit, upper-case F too, counts as 16: the
// pair FF is then 272 and carries into the next colour byte.
TEST_F(MessageWrite, EscapeDigitsGiveTheColourOfWhatFollows) {
  const struct {
    const char* escape;
    std::uint32_t rgb;
  } cases[] = {{"c0000ff", 0xFF0000},
               {"cff0000", 0x0000FF},
               {"c00ff00", 0x00FF00},
               {"c0000FF", 0x100100},
               {"c00000g", 0x100000}};
  for (const auto& c : cases) {
    const Pixels f = written(std::string(c.escape) + "\x88\xEA");  // 一
    EXPECT_GT(ink(f, c.rgb).count, 0) << c.escape;
    EXPECT_EQ(ink(f, c.rgb).count, ink(f, kPictureRgb, false).count)
        << c.escape;
  }
}

// 一 is 88 EA, 行 8D 73, 目 96 DA. ASCII other than c and /, 0x80, an escape
// cut short by the end and a lead byte alone at the end show nothing.
TEST_F(MessageWrite, BytesThatShowNothingLeaveThePlainMessage) {
  const struct {
    const char* raw;
    const char* plain;
  } cases[] = {
      // clang-format off
      {"\x88\xEA" "ab1!\x8D\x73" "Z9?\x96\xDA", "\x88\xEA\x8D\x73\x96\xDA"},
      {"\x88\xEA\x80\x8D\x73", "\x88\xEA\x8D\x73"},
      {"\x88\xEA\x8D\x73" "c0000f", "\x88\xEA\x8D\x73"},
      {"\x88\xEA\x8D\x73\x96", "\x88\xEA\x8D\x73"},
      // clang-format on
  };
  for (const auto& c : cases) {
    const Pixels plain = written(c.plain);
    EXPECT_GT(ink(plain, kPictureRgb, false).count, 0);
    EXPECT_TRUE(same_pixels(written(c.raw), plain)) << c.plain;
  }
}

TEST_F(MessageWrite, ClearsTheRepaintFlagSoThePaintKeepsTheText) {
  gfx_.repaint = 1;
  written("\x88\xEA");
  EXPECT_EQ(gfx_.repaint, 0);
}

}  // namespace
}  // namespace mowa::test
