// Composing the screen image and presenting it: gload's modes and the file
// forms it takes or reports as broken, sprites, copies from the back image,
// boxes, the zoom and the fades, seen in the window. In-process, with the
// modes, the boxes drawn on the window and one case of each other kind run end
// to end through mowa-headless.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "support/bmp_writer.h"
#include "support/in_process.h"
#include "support/window_capture.h"

namespace mowa::test {
namespace {

// The screen image as the window shows it, rows from the top; stored row r
// (counted from the bottom) is shown row 479 - r.
std::uint8_t& stored(Bmp& image, std::int64_t column, std::int64_t row) {
  return image.pixels[static_cast<std::size_t>((479 - row) * 640 + column)];
}
bool inside(std::int64_t column, std::int64_t row) {
  return column >= 0 && column < 640 && row >= 0 && row < 480;
}

// What `character` does to the screen image: the sprite's bottom-left pixel
// at column x, stored row y.
void lay(Bmp& screen, const Bmp& sprite, int x, int y, bool opaque) {
  for (int r = 0; r < sprite.height; ++r)
    for (int j = 0; j < sprite.width; ++j) {
      const std::uint8_t v = sprite.at(j, r);
      const std::int64_t column = std::int64_t{x} + j;
      const std::int64_t row = std::int64_t{y} + sprite.height - 1 - r;
      if ((v != 0 || opaque) && inside(column, row))
        stored(screen, column, row) = v;
    }
}

// `b` stored in `colours` colours of `bits` bits, `gap` bytes before the
// pixels.
Bmp coded(Bmp b, std::size_t colours, std::uint16_t bits, std::uint32_t gap,
          bool run_length) {
  b.use_colours(colours);
  std::tie(b.bits_per_pixel, b.gap_bytes, b.run_length) =
      std::tuple(bits, gap, run_length);
  return b;
}

std::string numbers(std::initializer_list<std::int64_t> values) {
  std::string out;
  for (const std::int64_t v : values)
    out += (out.empty() ? "" : ",") + std::to_string(v);
  return out;
}

// Runs `script` in a folder holding the pictures given by name.
PictureRun run_with(const std::vector<std::pair<std::string, Bmp>>& files,
                    const std::string& script, bool end_to_end = false) {
  Scenario s;
  for (const auto& [name, picture] : files) s.write(name, picture.file());
  s.script(script);
  return end_to_end ? run_pictures(s) : run_in_process(s);
}

void fill(Pixels& p, int x1, int y1, int x2, int y2, std::uint32_t rgb) {
  for (int y = y1; y < y2; ++y)
    for (int x = x1; x < x2; ++x)
      if (x >= 0 && y >= 0 && x < kWindowWidth && y < kWindowHeight)
        p[static_cast<std::size_t>(y * kWindowWidth + x)] = rgb;
}

// The outline takes columns x1 and x2 and rows y1 and y2, corners included.
void outline(Pixels& p, int x1, int y1, int x2, int y2, std::uint32_t rgb) {
  fill(p, x1, y1, x2 + 1, y1 + 1, rgb);
  fill(p, x1, y2, x2 + 1, y2 + 1, rgb);
  fill(p, x1, y1, x1 + 1, y2 + 1, rgb);
  fill(p, x2, y1, x2 + 1, y2 + 1, rgb);
}

const std::string kFirst = "gload\"a.bmp,0,0,0\"\n";

// Mode 0 shows the picture in its colours at its position, in one frame;
// mode 2 shows the screen pixels in the back picture's colours, painted
// again; mode 1 keeps the new picture black until it fades in; mode 3 loads
// nothing but still paints, here the copy from the still empty back image
// (index 0), and the position stays at (0, 0).
TEST(Gload, ShowsThePictureAtItsPositionInTheColoursOfItsMode) {
  const Bmp a = block_picture(), b = other_picture();
  Bmp copied = a;
  for (int y = 380; y < 480; ++y)
    for (int x = 0; x < 100; ++x) copied.pixels[y * 640 + x] = 0;
  const struct {
    std::string statements;
    Pixels expected;
    std::size_t frames;
    int black_frame = -1;  // a frame that shows nothing
  } cases[] = {
      // clang-format off
      {kFirst, drawn(a), 1},
      {"gload\"a.bmp,-30,25,0\"\n", drawn(a, a.colours, -30, 25), 1},
      {kFirst + "gload\"b.bmp,0,0,2\"\n", drawn(a, b.colours), 2},
      {kFirst + "gload\"b.bmp,0,0,1\"\nscreen_black_in\"0\"\n", drawn(b), 22,
       1},
      {kFirst + "screen_copy\"0,0,100,100,0,0\"\n"
       "gload\"missing.bmp,50,50,3\"\n", drawn(copied), 2},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.statements);
    const PictureRun run =
        run_with({{"a.bmp", a}, {"b.bmp", b}}, c.statements + "end\n", true);
    EXPECT_TRUE(run.errors().empty());
    ASSERT_EQ(run.frames.size(), c.frames);
    if (c.black_frame >= 0) {
      EXPECT_TRUE(same_pixels(run.frames[c.black_frame], black_window()));
    }
    EXPECT_TRUE(same_pixels(run.screenshot, c.expected));
  }
}

// A loadable form shows as the file holds it; colour entries the file lacks
// show black.
TEST(Gload, ShowsEveryLoadableFormAsItIs) {
  const struct {
    const char* name;
    std::function<void(Bmp&)> change;
  } cases[] = {
      // clang-format off
      {"standard", [](Bmp&) {}},
      {"image size stated", [](Bmp& b) { b.size_image = 307200; }},
      {"three bytes behind", [](Bmp& b) { b.trailing_bytes = 3; }},
      {"many bytes behind", [](Bmp& b) { b.trailing_bytes = 400; }},
      {"sixteen colours", [](Bmp& b) { b.use_colours(16); }},
      {"top down", [](Bmp& b) { b.top_down = true; }},
      {"gap before pixels", [](Bmp& b) { b.gap_bytes = 98; }},
      {"run-length coded", [](Bmp& b) { b.run_length = true; }},
      {"v5 header, two colours, top down",
       [](Bmp& b) { b.info_bytes = 124; b.top_down = true; b.use_colours(2); }},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bmp picture = block_picture();
    c.change(picture);
    const PictureRun run =
        run_with({{"p.bmp", picture}}, "gload\"p.bmp,0,0,0\"\nend\n");
    EXPECT_EQ(run.errors(), std::vector<std::string>{});
    EXPECT_TRUE(same_pixels(run.screenshot, drawn(picture)));
  }
}

TEST(Sprite, LandsAtItsRowsCountedFromTheBottom) {
  const Bmp plain = sprite(100, 50, [](int j, int r) {
    return j < 30 ? 0 : r < 10 ? 200 : 3 + j % 7;
  });
  const auto odd = [](int w, int h) {
    return sprite(w, h,
                  [](int j, int r) { return j % 3 == 1 ? 0 : 40 + j + 5 * r; });
  };
  const Bmp nibbles =
      sprite(21, 13, [](int j, int r) { return j < 8 ? 0 : (j + r) % 16; });
  const struct {
    const char* name;
    Bmp sprite;
    int x, y, opaque;
  } cases[] = {
      {"transparent", plain, 10, 0, 0},
      {"opaque", plain, 10, 0, 1},
      {"only one is opaque", plain, 200, 300, 2},
      {"whole picture", other_picture(), 0, 0, 1},
      {"odd width, few colours", coded(odd(3, 2), 16, 8, 0, false), 5, 7, 1},
      {"odd width, gap", coded(odd(37, 11), 256, 8, 6, false), 300, 200, 0},
      {"past the top right", plain, 600, 450, 1},
      {"past the bottom left", plain, -50, -20, 1},
      {"far outside", plain, 2147483600, -2147483600, 1},
      {"four bits, run-length", coded(nibbles, 16, 4, 0, true), 33, 44, 0},
      {"four bits", coded(nibbles, 16, 4, 0, false), 33, 44, 1},
  };
  const Bmp a = block_picture();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PictureRun run =
        run_with({{"a.bmp", a}, {"s.bmp", c.sprite}},
                 "gload\"a.bmp,0,0,0\"\ncharacter\"s.bmp," +
                     numbers({c.x, c.y, c.opaque}) + ",9\"\nend\n",
                 &c == cases);
    EXPECT_TRUE(run.errors().empty());
    Bmp screen = a;
    lay(screen, c.sprite, c.x, c.y, c.opaque == 1);
    EXPECT_TRUE(same_pixels(run.screenshot, drawn(screen, a.colours)));
  }
}

// A broken picture or sprite is reported under the loader's caption with
// the reason; the picture, its colours and its position stay as they were.
TEST(Gload, AndSpritesReportABrokenFileAndChangeNothing) {
  const char kBroken[] = "がこわれているの～、くすん。";
  const char kCutShort[] = "が途中で切れているの～、くすん。";
  const char kTooLarge[] = "は640×480より大きいの～、くすん。";
  const std::string load = "gload\"p.bmp,30,30,0\"\n",
                    lay = "character\"p.bmp,0,0,1,0\"\n";
  const auto ones = [](int width, int height) {
    return sprite(width, height, [](int, int) { return 1; });
  };
  const struct {
    const char* name;
    std::string statement;
    std::function<void(Bmp&)> change;  // of the block picture
    const char* reason;                // after the file name
  } cases[] = {
      // clang-format off
      {"taller by one", load, [&](Bmp& b) { b = ones(640, 481); },
       "は640×480じゃないの～、くすん。"},
      {"run-length on four bits wrongly", load,
       [](Bmp& b) { b.compression = 1; b.bits_per_pixel = 4; },
       "は読めない圧縮なの～、くすん。"},
      {"header of no known size", load, [](Bmp& b) { b.info_bytes = 20; },
       "はBMPじゃないの～、くすん。"},
      {"header cut short", load, [](Bmp& b) { b.keep_bytes = 30; }, kCutShort},
      {"too many colours", load, [](Bmp& b) { b.use_colours(300); }, kBroken},
      {"sixteen colours truncated", load,
       [](Bmp& b) { b.use_colours(16); b.keep_bytes = 300000; }, kCutShort},
      {"run-length cut short", load,
       [](Bmp& b) { b.run_length = true; b.keep_bytes = 5000; }, kCutShort},
      {"sprite too wide", lay, [&](Bmp& b) { b = ones(641, 2); }, kTooLarge},
      {"sprite too tall", lay, [&](Bmp& b) { b = ones(10, 481); }, kTooLarge},
      {"sprite of no rows", lay, [&](Bmp& b) { b = ones(10, 0); }, kBroken},
      {"sprite cut short", lay,
       [&](Bmp& b) { b = ones(8, 4); b.keep_bytes = 1078 + 8 * 4 - 5; },
       kCutShort},
      {"sprite in true colour", lay,
       [&](Bmp& b) { b = ones(8, 4); b.bits_per_pixel = 24; },
       "はパレットの絵じゃないの～、くすん。"},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bmp broken = block_picture();
    c.change(broken);
    const PictureRun run =
        run_with({{"a.bmp", other_picture()}, {"p.bmp", broken}},
                 "gload\"a.bmp,0,0,0\"\n" + c.statement +
                     "character\"none.bmp,0,0,1,0\"\nend\n");
    EXPECT_EQ(run.errors(),
              (std::vector<std::string>{
                  std::string("opendib: p.bmp") + c.reason,
                  "opendib: none.bmpが見つからないの～、くすん。"}));
    EXPECT_TRUE(same_pixels(run.screenshot, drawn(other_picture())));
  }
}

// The back picture has the screen picture's colours, so that the copied
// indices show as they do in the back picture.
TEST(ScreenCopy, CopiesTheBackPixelsAtTheNextPaint) {
  const Bmp a = block_picture();
  Bmp back = other_picture();
  back.colours = a.colours;
  const struct {
    const char* name;
    int x1, y1, x2, y2, dx, dy;
  } cases[] = {
      {"rectangle", 0, 0, 100, 50, 200, 100},
      {"whole picture", 0, 0, 640, 480, 0, 0},
      {"no width", 100, 0, 100, 480, 0, 0},
      {"reversed rows", 0, 10, 640, 5, 0, 0},
      {"clipped on every side", -100, -100, 700, 600, -50, 30},
      {"source partly outside", 600, 400, 700, 500, 10, 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PictureRun run =
        run_with({{"a.bmp", a}, {"b.bmp", back}},
                 "gload\"a.bmp,0,0,0\"\ngload\"b.bmp,0,0,2\"\nscreen_copy\"" +
                     numbers({c.x1, c.y1, c.x2, c.y2, c.dx, c.dy}) +
                     "\"\ngload\"-,0,0,3\"\nend\n",
                 &c == cases);
    EXPECT_TRUE(run.errors().empty());
    // Nothing is presented between the copy and the paint that follows it.
    ASSERT_EQ(run.frames.size(), 3u);
    EXPECT_TRUE(same_pixels(run.frames[1], drawn(a)));
    Bmp screen = a;
    for (std::int64_t r = c.y1; r < c.y2; ++r)
      for (std::int64_t i = c.x1; i < c.x2; ++i) {
        const std::int64_t to_col = c.dx + (i - c.x1),
                           to_row = c.dy + (r - c.y1);
        if (inside(i, r) && inside(to_col, to_row))
          stored(screen, to_col, to_row) = stored(back, i, r);
      }
    EXPECT_TRUE(same_pixels(run.screenshot, drawn(screen, a.colours)));
  }
}

TEST(Zoom, MagnifiesTheTopLeftAndComesBackAtThePicturePosition) {
  const Bmp a = block_picture();
  const PictureRun run = run_with(
      {{"a.bmp", a}}, "gload\"a.bmp,16,12,0\"\nscreen_big_small\nend\n", true);
  EXPECT_TRUE(run.errors().empty());
  ASSERT_EQ(run.frames.size(), 21u);
  const Pixels full = drawn(a, a.colours, 16, 12);
  for (const int f : {0, 1, 20})
    EXPECT_TRUE(same_pixels(run.frames[f], full)) << f;
  EXPECT_TRUE(same_pixels(run.frames[11], run.frames[10]));
  // The 280x210 source rectangle at the top-left fills the 640x480 area:
  // the middle of each 40x30 block lands 16/7 times as far from the corner.
  const Pixels& zoomed = run.frames[10];
  for (int by = 0; by < 7; ++by)
    for (int bx = 0; bx < 7; ++bx) {
      const int x = 16 + (bx * 40 + 20) * 16 / 7;
      const int y = 12 + (by * 30 + 15) * 16 / 7;
      EXPECT_EQ(at(zoomed, x, y), packed(a.colours[bx + 16 * by]))
          << "block " << bx << "," << by;
    }
  EXPECT_EQ(at(zoomed, 10, 200), 0u);
  EXPECT_EQ(at(zoomed, 300, 5), 0u);
  EXPECT_EQ(run.result.values("sleep", "ms"),
            std::vector<std::string>(20, "50"));
}

// The boxes are drawn on the window only. The copy at the end sets the
// repaint flag, the last box clears it: the paint of the last gload draws
// nothing, so neither the copy nor the old picture replaces the boxes.
TEST(Boxes, AreDrawnPixelForPixelAndCancelThePendingRedraw) {
  const PictureRun run = run_with(
      {{"a.bmp", block_picture()}},
      kFirst +
          "boxfill\"10,20,30,40,255\"\nbox\"10,60,30,80,65280\"\n"
          "boxfill\"600,-5,700,3,16777215\"\nbox\"620,470,700,500,16711680\"\n"
          "boxfill\"300,300,300,400,0\"\nscreen_copy\"0,0,640,480,0,0\"\n"
          "box\"5,5,50,50,255\"\ngload\"-,0,0,3\"\nend\n",
      true);
  EXPECT_TRUE(run.errors().empty());
  Pixels expected = drawn(block_picture());
  fill(expected, 10, 20, 30, 40, 0xFF0000);
  outline(expected, 10, 60, 30, 80, 0x00FF00);
  fill(expected, 600, -5, 700, 3, 0xFFFFFF);
  outline(expected, 620, 470, 700, 500, 0x0000FF);
  outline(expected, 5, 5, 50, 50, 0xFF0000);
  EXPECT_TRUE(same_pixels(run.screenshot, expected));
  // Each box is presented as soon as its device context is released.
  EXPECT_EQ(run.frames.size(), 6u);
}

// The two fades: twenty painted steps at the exact levels, each step its own
// frame, and the colours that remain afterwards. A component c at level k
// shows as floor(c * k / 19).
std::vector<Rgb> colours_at_level(const Bmp& b, int k) {
  std::vector<Rgb> c;
  for (const Rgb& f : b.colours)
    c.push_back({static_cast<std::uint8_t>(f.r * k / 19),
                 static_cast<std::uint8_t>(f.g * k / 19),
                 static_cast<std::uint8_t>(f.b * k / 19)});
  return c;
}

// After the fade-out the window is black, but the display shows a DIB in its
// own colour table, which the fade restores: the next draw shows the picture.
TEST(Fade, PaintsEveryLevelOnceAndWaitsBetween) {
  const Bmp a = block_picture();
  const struct {
    const char* statements;        // after loading a.bmp
    int first_frame, first_level;  // of the first step
    int step;                      // the change of level a step
    const char* delay_ms;
    Pixels last;  // what the window shows at the end
    std::size_t frames_after = 0;
  } cases[] = {
      {"screen_black_out\"30\"\n", 1, 19, -1, "30", black_window()},
      {"gload\"a.bmp,0,0,1\"\nscreen_black_in\"7\"\n", 2, 0, 1, "7", drawn(a)},
      {"screen_black_in\"0\"\n", 1, 0, 1, "0", drawn(a)},
      {"screen_black_out\"-5\"\n", 1, 19, -1, "0",
       black_window()},  // does not wait
      {"screen_black_out\"0\"\nscreen_copy\"0,0,0,0,0,0\"\ngload\"-,0,0,3\"\n",
       1, 19, -1, "0", drawn(a), 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.statements);
    Scenario s;
    s.write("a.bmp", a.file());
    s.script(std::string("gload\"a.bmp,0,0,0\"\n") + c.statements + "end\n");
    const PictureRun run = &c == cases ? run_pictures(s) : run_in_process(s);
    EXPECT_EQ(run.errors(), std::vector<std::string>{});
    ASSERT_EQ(run.frames.size(),
              static_cast<std::size_t>(c.first_frame) + 20 + c.frames_after);
    for (int i = 0; i < 20; ++i) {
      const int level = c.first_level + i * c.step;
      EXPECT_TRUE(same_pixels(run.frames[c.first_frame + i],
                              drawn(a, colours_at_level(a, level))))
          << "step " << i << ", level " << level;
    }
    EXPECT_EQ(run.result.values("sleep", "ms"),
              std::vector<std::string>(20, c.delay_ms));
    EXPECT_TRUE(same_pixels(run.screenshot, c.last));
  }
}

}  // namespace
}  // namespace mowa::test
