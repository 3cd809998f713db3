#include "platform/softgdi/font_raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace mowa::pf {
namespace {

// "ＭＳ ゴシック" in code page 932, the face the program asks for.
constexpr char kGothicName[] =
    "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";
constexpr char kOne[] = "\x88\xEA";      // 一
constexpr char kCountry[] = "\x8D\x91";  // 国, ink across most of the em
constexpr char kKatakanaA[] = "\xB1";    // half-width ｱ
constexpr std::uint32_t kWhite = 0xFFFFFF;

Surface screen(std::uint32_t fill = 0, int width = 640, int height = 480) {
  Surface s(width, height);
  std::fill(s.pixels.begin(), s.pixels.end(), fill);
  return s;
}

// Pixels that differ from `ground`, and where they lie.
struct Ink {
  int count = 0, whites = 0;
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
};
Ink ink_of(const Surface& s, std::uint32_t ground = 0) {
  Ink ink;
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x)
      if (s.at(x, y) != ground) {
        ++ink.count;
        ink.whites += s.at(x, y) == kWhite;
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
        ink.top = std::min(ink.top, y);
        ink.bottom = std::max(ink.bottom, y);
      }
  return ink;
}

class FontRasterTest : public ::testing::Test {
 protected:
  // Loading the Fontconfig configuration is the slow part; share it.
  static void SetUpTestSuite() { library_ = new FontLibrary; }
  static void TearDownTestSuite() { delete library_; }

  std::unique_ptr<RasterFont> font(int height, int width = 0, int weight = 400,
                                   const char* face = kGothicName) {
    LogFontA lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfWeight = weight;
    lf.lfCharSet = 128;
    std::strncpy(lf.lfFaceName, face, sizeof lf.lfFaceName - 1);
    auto f = library_->create(lf);
    EXPECT_NE(f, nullptr);
    return f;
  }
  // Draws white text at (100, 100) on `s`, by default in transparent mode;
  // returns the advance.
  static int draw(const RasterFont& f, Surface& s, std::string_view text,
                  bool opaque = false, int x = 100, int y = 100) {
    return f.draw(s, x, y, text, kWhite, opaque, 0x0000FF);
  }

  static FontLibrary* library_;
};
FontLibrary* FontRasterTest::library_ = nullptr;

TEST_F(FontRasterTest, FindsAJapaneseFaceForAnyName) {
  for (const char* name : {kGothicName, "", "NoSuchFaceAnywhere"}) {
    SCOPED_TRACE(name);
    auto f = font(-28, 0, 400, name);
    Surface s = screen();
    draw(*f, s, kCountry);
    EXPECT_GT(ink_of(s).count, 50);
    // The fallback is monospaced: a narrow letter takes half the em.
    EXPECT_EQ(draw(*f, s, "i"), 14);
  }
  // An installed face is taken by its name (the proportional gothic).
  Surface s = screen();
  EXPECT_LT(draw(*font(-28, 0, 400, "IPAPGothic"), s, "i"), 12);
}

TEST_F(FontRasterTest, InkIsUnblendedTextColourInsideTheEm) {
  struct Case {
    const char* text;
    int height, width, weight;
  } const cases[] = {
      {kCountry, -8, 14, 1000},  {kCountry, -16, 14, 1000},
      {kCountry, -28, 14, 1000}, {kCountry, -32, 14, 1000},
      {"\x82\xA0", -28, 0, 400}, {kKatakanaA, -20, 0, 1000},
      {"Ag", -32, 0, 400},       {"Wj", -16, 14, 1000},
      {kOne, -28, 0, 400},
  };
  int previous_height = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    auto f = font(c.height, c.width, c.weight);
    Surface s = screen();
    const int advance = draw(*f, s, c.text);
    const Ink ink = ink_of(s);
    // A negative height is the em, which the cell (ascent + descent) holds.
    EXPECT_GE(f->cell_height(), -c.height);
    EXPECT_LE(f->cell_height(), -c.height * 3 / 2 + 1);
    EXPECT_TRUE(s.changed);
    ASSERT_GT(ink.count, 0);
    EXPECT_EQ(ink.whites, ink.count);  // no anti-aliasing
    EXPECT_GE(std::min(ink.left, ink.top), 100);
    EXPECT_LT(ink.right, 100 + advance);
    EXPECT_LT(ink.bottom, 100 - c.height);
    // The same character grows with the height.
    EXPECT_TRUE(c.text != kCountry || ink.bottom - ink.top > previous_height);
    previous_height = ink.bottom - ink.top;
  }
}

TEST_F(FontRasterTest, WidthScalesTheAdvanceFromTheAverageWidth) {
  // Without a width the face keeps its proportions: full width is one em,
  // single-byte characters (katakana as letters) half of it. The Japanese
  // gothics give half an em as their average width, so a full width
  // character comes out twice the width asked for, at any height.
  struct Case {
    int height, width;
    const char* text;
    int advance;
  } const cases[] = {
      // clang-format off
      {-16, 0, kOne, 16}, {-28, 0, kOne, 28}, {-28, 0, kKatakanaA, 14},
      {-28, 0, "A", 14}, {-28, 0, "5", 14}, {-28, 0, "-", 14},
      {-16, 14, kOne, 28}, {-16, -14, kOne, 28}, {-28, 7, kOne, 14},
      {-28, 7, "A", 7}, {-28, 14, "\x88\xEA\x88\xEA\x88\xEA", 84},
      // clang-format on
  };
  for (const Case& c : cases) {
    Surface s = screen();
    EXPECT_NEAR(draw(*font(c.height, c.width), s, c.text), c.advance, 1)
        << &c - cases;
  }
}

TEST_F(FontRasterTest, PositiveHeightIsTheCellAndHeavyWeightHasMoreInk) {
  for (int h : {12, 30, 45}) EXPECT_EQ(font(h)->cell_height(), h);
  EXPECT_EQ(font(0)->cell_height(), font(-16)->cell_height());
  Surface normal = screen(), heavy = screen();
  draw(*font(-28, 14, 400), normal, kCountry);
  draw(*font(-28, 14, 1000), heavy, kCountry);
  EXPECT_GT(ink_of(heavy).count, ink_of(normal).count * 11 / 10);
}

TEST_F(FontRasterTest, OpaqueFillsEachCellTransparentKeepsTheGround) {
  constexpr std::uint32_t kGround = 0x00FF00;
  auto f = font(-24, 12, 1000);
  Surface opaque = screen(kGround), transparent = screen(kGround);
  const int advance = draw(*f, opaque, "\x8D\x91\xB1", true, 10, 20);
  draw(*f, transparent, "\x8D\x91\xB1", false, 10, 20);
  const Ink cells = ink_of(opaque, kGround),
            text = ink_of(transparent, kGround);
  // Every cell pixel is the back colour or ink, nothing outside is touched.
  EXPECT_EQ(cells.count, advance * f->cell_height());
  EXPECT_EQ(std::pair(cells.left, cells.top), std::pair(10, 20));
  EXPECT_EQ(std::pair(cells.right, cells.bottom),
            std::pair(9 + advance, 19 + f->cell_height()));
  EXPECT_EQ(cells.count - cells.whites,
            std::count(opaque.pixels.begin(), opaque.pixels.end(), 0x0000FFu));
  EXPECT_GT(text.count, 20);
  EXPECT_EQ(cells.whites, text.count);
}

TEST_F(FontRasterTest, BytesThatAreNoCharacterAdvanceWithoutInk) {
  auto f = font(-28);
  // 0x80 and 0xFD are no characters; 0x85 0x40 is an empty cell of the code
  // page; 0xF0 0x40 is a user-defined character no face has.
  for (std::string_view text : {"\x80", "\xFD", "\x85\x40", "\xF0\x40"}) {
    Surface s = screen();
    EXPECT_GT(draw(*f, s, text), 0);
    EXPECT_FALSE(s.changed);
    // Its cell is still filled in opaque mode.
    const int advance = draw(*f, s, text, true);
    EXPECT_EQ(ink_of(s).count, advance * f->cell_height());
  }
  // A trailing lead byte is neither drawn nor read past: exactly three bytes
  // on the heap, so reading a fourth would be caught.
  Surface whole = screen(), cut = screen(), none = screen();
  const std::vector<char> bytes{'\x88', '\xEA', '\x88'};
  EXPECT_EQ(draw(*f, cut, std::string_view(bytes.data(), 3)),
            draw(*f, whole, kOne));
  EXPECT_EQ(cut.pixels, whole.pixels);
  EXPECT_EQ(draw(*f, none, std::string_view(bytes.data() + 2, 1)), 0);
  EXPECT_FALSE(none.changed);
}

// A smaller window shows exactly the top-left of what a larger one shows.
TEST_F(FontRasterTest, ClipsToTheClientSize) {
  auto small = font(-32, 14, 1000), big = font(-400, 300, 1000);
  const std::string text = "\x8D\x91\x88\xEA\xB1\x41g\x8D\x91";  // 国一ｱAg国
  // clang-format off
  for (const auto& [x, y] : {std::pair{-20, -20}, {310, 230},
       {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN / 2, 200},
       {300, INT_MAX - 10}})
    // clang-format on
    for (const RasterFont* f : {small.get(), big.get()}) {
      SCOPED_TRACE(::testing::Message() << x << "," << y);
      Surface s = screen(0, 320, 240), wide = screen(0, 800, 600);
      draw(*f, s, text, true, x, y);
      draw(*f, wide, text, true, x, y);
      wide.resize(320, 240);  // keeps the top-left
      EXPECT_EQ(s.pixels, wide.pixels);
      EXPECT_EQ(s.changed, ink_of(s).count > 0);
    }
  Surface hidden;  // a window not yet placed
  EXPECT_GT(draw(*big, hidden, text, true, 0, 0), 640);
  EXPECT_FALSE(hidden.changed);
}

}  // namespace
}  // namespace mowa::pf
