// Loading pictures with gload: the four modes, the file forms that load and
// the ones that are reported as broken without changing anything.
#include <gtest/gtest.h>

#include <functional>

#include "bmp_writer.h"
#include "window_capture.h"

namespace mowa::test {
namespace {

const std::string kFirst = "gload\"a.bmp,0,0,0\"\n";

// Mode 0 shows the picture in its colours at its position, in one frame;
// mode 2 shows the screen pixels in the back picture's colours, painted again.
TEST(Gload, ShowsThePictureAtItsPositionInTheColoursOfItsMode) {
  const Bmp a = block_picture();
  const struct {
    std::string statements;
    Pixels expected;
    std::size_t frames;
  } cases[] = {
      {kFirst, drawn(a), 1},
      {"gload\"a.bmp,-30,25,0\"\n", drawn(a, a.colours, -30, 25), 1},
      {kFirst + "gload\"b.bmp,0,0,2\"\n", drawn(a, other_picture().colours), 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.statements);
    Scenario s;
    s.write("a.bmp", a.file());
    s.write("b.bmp", other_picture().file());
    s.script(c.statements + "end\n");
    const PictureRun run = run_pictures(s);
    EXPECT_TRUE(run.errors().empty());
    EXPECT_EQ(run.frames.size(), c.frames);
    EXPECT_TRUE(same_pixels(run.screenshot, c.expected));
  }
}

TEST(Gload, ModeOneKeepsThePictureBlackUntilItFadesIn) {
  Scenario s;
  s.write("a.bmp", block_picture().file());
  s.write("b.bmp", other_picture().file());
  s.script(kFirst + "gload\"b.bmp,0,0,1\"\nscreen_black_in\"0\"\nend\n");
  const PictureRun run = run_pictures(s);
  ASSERT_EQ(run.frames.size(), 22u);
  EXPECT_TRUE(same_pixels(run.frames[1], black_window()));
  EXPECT_TRUE(same_pixels(run.screenshot, drawn(other_picture())));
}

TEST(Gload, ModeThreeLoadsNothingButStillPaints) {
  // The copy from the still empty back image (index 0) only shows through
  // the paint that gload asks for; the position stays at (0, 0).
  Scenario s;
  s.write("a.bmp", block_picture().file());
  s.script(kFirst + "screen_copy\"0,0,100,100,0,0\"\n"
                    "gload\"missing.bmp,50,50,3\"\nend\n");
  const PictureRun run = run_pictures(s);
  EXPECT_TRUE(run.errors().empty());
  ASSERT_EQ(run.frames.size(), 2u);
  Bmp expected = block_picture();
  for (int y = 380; y < 480; ++y)
    for (int x = 0; x < 100; ++x) expected.pixels[y * 640 + x] = 0;
  EXPECT_TRUE(same_pixels(run.screenshot, drawn(expected)));
}

struct FormCase {
  const char* name;
  std::function<void(Bmp&)> change;
};
void PrintTo(const FormCase& c, std::ostream* os) { *os << c.name; }

class LoadableForm : public ::testing::TestWithParam<FormCase> {};

// The picture shows as the file holds it; colour entries the file lacks
// show black.
TEST_P(LoadableForm, ShowsThePictureItHolds) {
  Bmp picture = block_picture();
  GetParam().change(picture);
  Scenario s;
  s.write("p.bmp", picture.file());
  s.script("gload\"p.bmp,0,0,0\"\nend\n");
  const PictureRun run = run_pictures(s);
  EXPECT_TRUE(run.errors().empty()) << run.errors().front();
  EXPECT_TRUE(same_pixels(run.screenshot, drawn(picture)));
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadableForm,
    ::testing::Values(
        FormCase{"standard", [](Bmp&) {}},
        FormCase{"image_size_stated", [](Bmp& b) { b.size_image = 307200; }},
        FormCase{"three_bytes_behind", [](Bmp& b) { b.trailing_bytes = 3; }},
        FormCase{"many_bytes_behind", [](Bmp& b) { b.trailing_bytes = 400; }},
        FormCase{"sixteen_colours", [](Bmp& b) { b.use_colours(16); }},
        FormCase{"top_down", [](Bmp& b) { b.top_down = true; }},
        FormCase{"gap_before_pixels", [](Bmp& b) { b.gap_bytes = 98; }},
        FormCase{"run_length_coded", [](Bmp& b) { b.run_length = true; }},
        FormCase{"v5_header_two_colours_top_down",
                 [](Bmp& b) {
                   b.info_bytes = 124;
                   b.use_colours(2);
                   b.top_down = true;
                 }}),
    [](const auto& info) { return std::string(info.param.name); });

struct BrokenCase {
  const char* name;
  std::function<void(Bmp&)> change;
  const char* reason;  // after the file name
};
void PrintTo(const BrokenCase& c, std::ostream* os) { *os << c.name; }

class BrokenForm : public ::testing::TestWithParam<BrokenCase> {};

// Reported with the reason; the picture, its colours and its position stay
// as they were.
TEST_P(BrokenForm, IsReportedAndChangesNothing) {
  Bmp broken = block_picture();
  GetParam().change(broken);
  Scenario s;
  s.write("a.bmp", other_picture().file());
  s.write("p.bmp", broken.file());
  s.script("gload\"a.bmp,0,0,0\"\ngload\"p.bmp,30,30,0\"\nend\n");
  const PictureRun run = run_pictures(s);
  EXPECT_EQ(run.errors(),
            std::vector<std::string>{std::string("opendib: p.bmp") + GetParam().reason});
  EXPECT_TRUE(same_pixels(run.screenshot, drawn(other_picture())));
}

constexpr char kBroken[] = "がこわれているの～、くすん。";
constexpr char kCutShort[] = "が途中で切れているの～、くすん。";
constexpr char kNotVga[] = "は640×480じゃないの～、くすん。";

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenForm,
    ::testing::Values(
        BrokenCase{"taller_by_one", [](Bmp& b) { b = sprite(640, 481, [](int, int) { return 1; }); }, kNotVga},
        BrokenCase{"run_length_on_four_bits_wrongly", [](Bmp& b) { b.compression = 1; b.bits_per_pixel = 4; },
                   "は読めない圧縮なの～、くすん。"},
        BrokenCase{"header_of_no_known_size", [](Bmp& b) { b.info_bytes = 20; }, "はBMPじゃないの～、くすん。"},
        BrokenCase{"header_cut_short", [](Bmp& b) { b.keep_bytes = 30; }, kCutShort},
        BrokenCase{"too_many_colours", [](Bmp& b) { b.use_colours(300); }, kBroken},
        BrokenCase{"sixteen_colours_truncated", [](Bmp& b) {
                   b.use_colours(16);
                   b.keep_bytes = 300000;
                 }, kCutShort},
        BrokenCase{"run_length_cut_short", [](Bmp& b) {
                   b.run_length = true;
                   b.keep_bytes = 5000;
                 }, kCutShort}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mowa::test
