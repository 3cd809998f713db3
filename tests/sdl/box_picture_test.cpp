// The message box picture: its layout follows the text, and caption, sign,
// text and button land where the layout says.
#include "platform/softgdi/box_picture.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <string>
#include <utility>

namespace mowa::pf {
namespace {

constexpr std::uint32_t kBody = 0xF0F0F0;
constexpr std::uint32_t kCaptionBar = 0x1F4E8C;
constexpr std::uint32_t kButtonFace = 0xE1E1E1;
constexpr std::uint32_t kButtonPressed = 0xC4D6EA;

int count(const Surface& s, const Rect& r, std::uint32_t rgb) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += s.at(x, y) == rgb;
  return n;
}

int area(const Rect& r) { return (r.right - r.left) * (r.bottom - r.top); }

class BoxPictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LogFontA lf{};
    lf.lfHeight = -16;
    font = fonts.create(lf);
    ASSERT_NE(font, nullptr);
  }
  FontLibrary fonts;
  std::unique_ptr<RasterFont> font;
};

TEST_F(BoxPictureTest, SizeFollowsTheTextAndStaysOnTheFramebuffer) {
  Surface s;
  const BoxLayout one = draw_box(s, font.get(), "c", "\x82\xa0", false);
  const BoxLayout wide =
      draw_box(s, font.get(), "c", std::string(60, 'W'), false);
  const BoxLayout tall = draw_box(s, font.get(), "c", "1\n2\n3\n4\n5", false);
  const BoxLayout huge = draw_box(
      s, font.get(), "c", std::string(500, 'W') + std::string(80, '\n'), false);
  EXPECT_GT(wide.width, one.width);
  EXPECT_EQ(tall.width, one.width);
  EXPECT_GT(tall.height, one.height);
  EXPECT_EQ(tall.text.bottom - tall.text.top,
            5 * (font->cell_height() + 3) - 3);  // five lines, gaps between
  EXPECT_LE(huge.height, 480);                 // a screen in the program's mode
  EXPECT_LE(huge.button.bottom, huge.height);  // the button is never cut off
  EXPECT_EQ(std::pair(s.width(), s.height()),
            std::pair(huge.width, huge.height));
}

TEST_F(BoxPictureTest,
       CaptionSignTextAndButtonLandInTheirPlacesWithOrWithoutAFont) {
  Surface s;
  const BoxLayout l =
      draw_box(s, font.get(), "caption", "\x82\xa0\x82\xa2\r\nok", false);
  EXPECT_TRUE(s.changed);
  // Caption lettering is white on the bar.
  const int bar = count(s, l.caption_bar, kCaptionBar);
  EXPECT_GT(bar, area(l.caption_bar) / 2);
  EXPECT_LT(bar, area(l.caption_bar));
  // The text is black ink on the body, inside its block.
  EXPECT_GT(count(s, l.text, 0x000000), 20);
  EXPECT_EQ(count(s, {l.text.right, l.text.top, l.width - 2, l.text.bottom}, 0),
            0);
  // The sign is mostly yellow; the button has its face and its lettering.
  EXPECT_GT(count(s, l.sign, 0xFFCC1A), area(l.sign) / 4);
  EXPECT_GT(count(s, l.button, kButtonFace), area(l.button) / 2);
  EXPECT_GT(count(s, l.button, 0x000000), 5);
  EXPECT_TRUE(contains(l.button, l.button.left, l.button.top));
  EXPECT_FALSE(contains(l.button, l.button.right, l.button.top));
  EXPECT_EQ(s.at(l.width / 2, l.caption_bar.bottom + 2), kBody);

  const BoxLayout pressed =
      draw_box(s, font.get(), "caption", "\x82\xa0\x82\xa2\r\nok", true);
  EXPECT_EQ(pressed.button.left, l.button.left);
  EXPECT_GT(count(s, l.button, kButtonPressed), area(l.button) / 2);

  // Without a font the box has no lettering.
  const BoxLayout plain = draw_box(s, nullptr, "caption", "text", false);
  EXPECT_GT(plain.width, 0);
  EXPECT_EQ(count(s, plain.caption_bar, kCaptionBar), area(plain.caption_bar));
  EXPECT_EQ(count(s, plain.button, 0x000000), 0);
  EXPECT_GT(count(s, plain.sign, 0x000000), 0);  // the sign's own mark
}

// Long lines wrap inside the box, at a space when there is one; nothing of
// the text is lost and no ink reaches past the text block.
TEST_F(BoxPictureTest, LongLinesWrapAndLongCaptionsAreShortened) {
  Surface s;
  std::string words;
  for (int i = 0; i < 30; ++i) words += "device" + std::to_string(i) + " ";
  std::string japanese;
  for (int i = 0; i < 70; ++i) japanese += "\x82\xa0";  // あ
  const struct {
    const char* name;
    std::string text;
    bool at_spaces;
  } cases[] = {{"words", words, true},
               {"japanese", japanese, false},
               {"one long word", std::string(200, 'W'), false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const BoxLayout l =
        draw_box(s, font.get(), std::string(300, 'C'), c.text, false);
    EXPECT_EQ(l.width, 640);
    EXPECT_GT(l.lines.size(), 1u);
    EXPECT_EQ(std::accumulate(l.lines.begin(), l.lines.end(), std::string()),
              c.text);
    for (std::size_t i = 0; i + 1 < l.lines.size() && c.at_spaces; ++i)
      EXPECT_EQ(l.lines[i].back(), ' ') << l.lines[i];
    EXPECT_LE(l.text.right, l.width - 14);
    EXPECT_EQ(
        count(s, {l.text.right, l.text.top, l.width - 1, l.text.bottom}, 0), 0);
    EXPECT_EQ(l.text.bottom - l.text.top,
              static_cast<int>(l.lines.size()) * (font->cell_height() + 3) - 3);
    // The caption ends in an ellipsis inside the bar.
    EXPECT_EQ(l.caption, std::string(l.caption.size() - 2, 'C') + "\x81\x63");
  }
  const BoxLayout short_caption =
      draw_box(s, font.get(), "caption", "text", false);
  EXPECT_EQ(short_caption.caption, "caption");
}

}  // namespace
}  // namespace mowa::pf
