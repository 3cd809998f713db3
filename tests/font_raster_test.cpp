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

LogFontA gothic(int height, int width = 0, int weight = 400,
                const char* face = kGothicName) {
  LogFontA lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfWeight = weight;
  lf.lfCharSet = 128;
  std::strncpy(lf.lfFaceName, face, sizeof lf.lfFaceName - 1);
  return lf;
}

Surface screen(std::uint32_t fill = 0) {
  Surface s;
  s.width = Surface::kMaxWidth;
  s.height = Surface::kMaxHeight;
  std::fill(s.pixels.begin(), s.pixels.end(), fill);
  return s;
}

// Pixels that differ from `ground`, and where they lie.
struct Ink {
  int count = 0;
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
  int height() const { return count ? bottom - top + 1 : 0; }
};

Ink ink_of(const Surface& s, std::uint32_t ground = 0) {
  Ink ink;
  for (int y = 0; y < Surface::kMaxHeight; ++y)
    for (int x = 0; x < Surface::kMaxWidth; ++x)
      if (s.at(x, y) != ground) {
        ++ink.count;
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
  static void TearDownTestSuite() {
    delete library_;
    library_ = nullptr;
  }

  std::unique_ptr<RasterFont> font(const LogFontA& lf) {
    auto f = library_->create(lf);
    EXPECT_NE(f, nullptr);
    return f;
  }
  // Draws on a fresh black surface; returns the advance.
  int draw(const RasterFont& f, Surface& s, std::string_view text, int x = 100,
           int y = 100) {
    return f.draw(s, x, y, text, kWhite, false, 0);
  }

  static FontLibrary* library_;
};
FontLibrary* FontRasterTest::library_ = nullptr;

TEST_F(FontRasterTest, FindsAJapaneseFaceForAnyName) {
  for (const char* name : {kGothicName, "", "NoSuchFaceAnywhere"}) {
    SCOPED_TRACE(name);
    auto f = font(gothic(-28, 0, 400, name));
    ASSERT_NE(f, nullptr);
    Surface s = screen();
    draw(*f, s, kCountry);
    EXPECT_GT(ink_of(s).count, 50);
    // The fallback is monospaced: a narrow letter takes half the em.
    EXPECT_EQ(draw(*f, s, "i"), 14);
  }
  // An installed face is taken by its name (the proportional gothic).
  Surface s = screen();
  EXPECT_LT(draw(*font(gothic(-28, 0, 400, "IPAPGothic")), s, "i"), 12);
}

TEST_F(FontRasterTest, CellHeightFollowsLogicalHeight) {
  // A positive height is the cell itself; a negative one the em, which the
  // cell (ascent + descent) holds.
  for (int h : {12, 30, 45}) EXPECT_EQ(font(gothic(h))->cell_height(), h);
  for (int h : {4, 16, 28, 32}) {
    const int cell = font(gothic(-h))->cell_height();
    EXPECT_GE(cell, h);
    EXPECT_LE(cell, h + h / 2 + 1);
  }
  EXPECT_EQ(font(gothic(0))->cell_height(), font(gothic(-16))->cell_height());
}

TEST_F(FontRasterTest, InkIsTextColourOnlyAndInsideTheCell) {
  struct Case {
    const char* text;
    int height, width, weight;
  };
  for (const Case& c :
       {Case{kCountry, -28, 14, 1000}, Case{kCountry, -8, 14, 1000},
        Case{"\x82\xA0", -28, 0, 400},  // あ
        Case{kKatakanaA, -20, 0, 1000}, Case{"Ag", -32, 0, 400},
        Case{"Wj", -16, 14, 1000}}) {
    SCOPED_TRACE(::testing::Message() << c.height << " " << c.width << " "
                                      << c.weight << " " << c.text);
    auto f = font(gothic(c.height, c.width, c.weight));
    Surface s = screen();
    const int advance = draw(*f, s, c.text, 50, 60);
    EXPECT_TRUE(s.changed);
    const Ink ink = ink_of(s);
    ASSERT_GT(ink.count, 0);
    EXPECT_GE(ink.left, 50);
    EXPECT_LT(ink.right, 50 + advance);
    EXPECT_GE(ink.top, 60);
    EXPECT_LT(ink.bottom, 60 + f->cell_height());
    for (std::uint32_t p : s.pixels) ASSERT_TRUE(p == 0 || p == kWhite) << p;
  }
}

TEST_F(FontRasterTest, InkGrowsWithCharacterHeightWithinTheEm) {
  int previous = 0;
  for (int h : {8, 16, 28, 32}) {
    Surface s = screen();
    draw(*font(gothic(-h, 14, 1000)), s, kCountry);
    const Ink ink = ink_of(s);
    EXPECT_GT(ink.height(), previous) << h;
    EXPECT_GE(ink.top, 100);
    EXPECT_LT(ink.bottom, 100 + h);
    previous = ink.height();
  }
  Surface s = screen();
  draw(*font(gothic(-28)), s, kOne);
  EXPECT_GE(ink_of(s).top, 100);
  EXPECT_LT(ink_of(s).bottom, 128);
}

TEST_F(FontRasterTest, WidthScalesTheAdvanceFromTheAverageWidth) {
  Surface s = screen();
  auto advance = [&](int height, int width, std::string_view text) {
    return draw(*font(gothic(height, width)), s, text);
  };
  // Without a width the face keeps its proportions: full width is one em.
  EXPECT_NEAR(advance(-16, 0, kOne), 16, 1);
  EXPECT_NEAR(advance(-28, 0, kOne), 28, 1);
  // Single-byte characters, katakana as letters, take half of it.
  for (const char* half : {kKatakanaA, "A", "5", "-"})
    EXPECT_NEAR(advance(-28, 0, half), 14, 1) << half;
  // The Japanese gothics give half an em as their average width, so a full
  // width character comes out twice the width asked for, at any height.
  EXPECT_NEAR(advance(-16, 14, kOne), 28, 1);
  EXPECT_NEAR(advance(-28, 7, kOne), 14, 1);
  EXPECT_NEAR(advance(-28, 7, "A"), 7, 1);
  EXPECT_EQ(advance(-16, -14, kOne), advance(-16, 14, kOne));
  EXPECT_EQ(advance(-28, 14, "\x88\xEA\x88\xEA\x88\xEA"),
            3 * advance(-28, 14, kOne));
}

TEST_F(FontRasterTest, HeavyWeightHasMoreInk) {
  Surface normal = screen(), heavy = screen();
  draw(*font(gothic(-28, 14, 400)), normal, kCountry);
  draw(*font(gothic(-28, 14, 1000)), heavy, kCountry);
  EXPECT_GT(ink_of(heavy).count, ink_of(normal).count * 11 / 10);
}

TEST_F(FontRasterTest, OpaqueFillsEachCellTransparentKeepsTheGround) {
  constexpr std::uint32_t kGround = 0x00FF00, kBack = 0x123456;
  auto f = font(gothic(-24, 12, 1000));
  Surface s = screen(kGround);
  const int advance = f->draw(s, 10, 20, "\x8D\x91\xB1", kWhite, true, kBack);
  const int cell = f->cell_height();
  int back = 0, text = 0;
  for (int y = 0; y < Surface::kMaxHeight; ++y)
    for (int x = 0; x < Surface::kMaxWidth; ++x) {
      const bool inside =
          x >= 10 && x < 10 + advance && y >= 20 && y < 20 + cell;
      const std::uint32_t p = s.at(x, y);
      if (!inside)
        ASSERT_EQ(p, kGround) << x << "," << y;
      else if (p == kBack)
        ++back;
      else if (p == kWhite)
        ++text;
      else
        FAIL() << x << "," << y << " " << p;
    }
  EXPECT_GT(text, 20);
  EXPECT_EQ(back + text, advance * cell);

  Surface t = screen(kGround);
  f->draw(t, 10, 20, "\x8D\x91\xB1", kWhite, false, kBack);
  EXPECT_EQ(ink_of(t, kGround).count, text);
}

TEST_F(FontRasterTest, TrailingLeadByteIsNeitherDrawnNorReadPast) {
  auto f = font(gothic(-28));
  Surface whole = screen(), cut = screen();
  const int whole_advance = draw(*f, whole, kOne);
  // Exactly three bytes on the heap, so reading a fourth would be caught.
  const std::vector<char> bytes{'\x88', '\xEA', '\x88'};
  EXPECT_EQ(draw(*f, cut, std::string_view(bytes.data(), bytes.size())),
            whole_advance);
  EXPECT_EQ(cut.pixels, whole.pixels);
  Surface none = screen();
  EXPECT_EQ(draw(*f, none, std::string_view(bytes.data() + 2, 1)), 0);
  EXPECT_FALSE(none.changed);
}

TEST_F(FontRasterTest, UndecodableCharactersAdvanceWithoutInk) {
  auto f = font(gothic(-28));
  // 0x80 and 0xFD are no characters; 0x85 0x40 is an empty cell of the code
  // page; 0xF0 0x40 is a user-defined character no face has.
  for (std::string_view text : {"\x80", "\xFD", "\x85\x40", "\xF0\x40"}) {
    Surface s = screen();
    EXPECT_GT(draw(*f, s, text), 0);
    EXPECT_EQ(ink_of(s).count, 0);
    EXPECT_FALSE(s.changed);
    // Its cell is still filled in opaque mode.
    const int advance = f->draw(s, 0, 0, text, kWhite, true, 0x0000FF);
    EXPECT_TRUE(s.changed);
    EXPECT_EQ(ink_of(s).count, advance * f->cell_height());
  }
}

TEST_F(FontRasterTest, ClipsToTheClientSize) {
  auto f = font(gothic(-32, 14, 1000));
  auto big = font(gothic(-400, 300, 1000));
  const std::string text =
      "\x8D\x91\x88\xEA\xB1"
      "Ag\x8D\x91";
  for (const auto& [x, y] : {std::pair{-20, -20},
                             {310, 230},
                             {INT_MIN, INT_MIN},
                             {INT_MAX, INT_MAX},
                             {INT_MIN / 2, 200},
                             {300, INT_MAX - 10}}) {
    SCOPED_TRACE(::testing::Message() << x << "," << y);
    for (const RasterFont* font : {f.get(), big.get()}) {
      // A window smaller than the buffer: nothing beyond its client size.
      Surface s = screen();
      s.width = 320;
      s.height = 240;
      font->draw(s, x, y, text, kWhite, true, 0x0000FF);
      const Ink ink = ink_of(s);
      if (ink.count > 0) {
        EXPECT_LT(ink.right, 320);
        EXPECT_LT(ink.bottom, 240);
      }
      EXPECT_EQ(s.changed, ink.count > 0);
    }
  }
  Surface s = screen();
  EXPECT_GT(big->draw(s, 500, 300, text, kWhite, true, 0x0000FF), 640);
  EXPECT_GT(ink_of(s).count, 0);
  Surface hidden = screen();
  hidden.width = hidden.height = 0;
  EXPECT_GT(f->draw(hidden, 0, 0, text, kWhite, true, 0), 0);
  EXPECT_FALSE(hidden.changed);
}

}  // namespace
}  // namespace mowa::pf
