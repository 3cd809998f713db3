// Pictures and sprites as ImageMagick and image editors write them, made
// during the test, drawn exactly as ImageMagick itself decodes the same
// files; and the files that are refused, each with its reason.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include "support/bmp_writer.h"
#include "support/window_capture.h"

namespace mowa::test {
namespace {

// The art the ImageMagick cases start from: gradients, a swirl, flat areas.
constexpr char kArt[] =
    "convert -size 640x480 gradient:red-blue -swirl 120 -fill yellow "
    "-draw 'circle 320,240 400,300' -fill black -draw 'rectangle 10,10 60,60' "
    "art.png";

bool shell(const Scenario& s, const std::string& command) {
  const int status =
      std::system(("cd '" + s.dir() + "' && " + command).c_str());
  EXPECT_EQ(status, 0) << command;
  return status == 0;
}

// ImageMagick's reading of a file: its size and its pixels, 0xRRGGBB, top
// row first.
struct Decoding {
  int width = 0, height = 0;
  Pixels pixels;
  std::uint32_t at(int x, int y) const {
    return pixels[static_cast<std::size_t>(y * width + x)];
  }
};

Decoding decoded_by_magick(const Scenario& s, const std::string& file) {
  Decoding d;
  if (!shell(s, "identify -format '%w %h' " + file + " > " + file +
                    ".size && convert " + file + " -depth 8 rgb:" + file +
                    ".rgb"))
    return d;
  std::istringstream(slurp(s.dir() + "/" + file + ".size")) >> d.width >>
      d.height;
  const std::string rgb = slurp(s.dir() + "/" + file + ".rgb");
  const auto byte = [&rgb](std::size_t i) {
    return static_cast<std::uint8_t>(rgb[i]);
  };
  for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
    d.pixels.push_back(packed({byte(i), byte(i + 1), byte(i + 2)}));
  EXPECT_EQ(d.pixels.size(), static_cast<std::size_t>(d.width * d.height))
      << file;
  return d;
}

// A sprite as ImageMagick decodes it, drawn at (100, 50) from the bottom
// over `under`, black left out unless `opaque`; the pixels it covers.
int draw_at_100_50(Pixels& under, const Decoding& sprite, bool opaque) {
  int shown = 0;
  for (int y = 0; y < sprite.height; ++y)
    for (int x = 0; x < sprite.width; ++x)
      if (opaque || sprite.at(x, y) != 0) {
        under[static_cast<std::size_t>((480 - 50 - sprite.height + y) * 640 +
                                       100 + x)] = sprite.at(x, y);
        ++shown;
      }
  return shown;
}

// The colour table of a palette file in its order, as ImageMagick lists it.
std::vector<Rgb> colour_map(const Scenario& s, const std::string& file) {
  std::vector<Rgb> colours;
  if (!shell(s, "identify -verbose " + file + " > " + file + ".txt"))
    return colours;
  const std::string text = slurp(s.dir() + "/" + file + ".txt");
  const std::regex entry(R"(\n\s*(\d+): \(\s*(\d+),\s*(\d+),\s*(\d+))");
  for (auto m = std::sregex_iterator(text.begin(), text.end(), entry);
       m != std::sregex_iterator(); ++m)
    if (std::stoul((*m)[1]) == colours.size())
      colours.push_back({static_cast<std::uint8_t>(std::stoi((*m)[2])),
                         static_cast<std::uint8_t>(std::stoi((*m)[3])),
                         static_cast<std::uint8_t>(std::stoi((*m)[4]))});
  return colours;
}

// bits a pixel and compression as the file says, to be sure that the tool
// wrote the form the case is about.
std::string form_of(const Scenario& s, const std::string& file) {
  const std::string b = slurp(s.dir() + "/" + file);
  if (b.size() < 34) return "short";
  const auto byte = [&b](std::size_t i) {
    return std::to_string(static_cast<std::uint8_t>(b[i]));
  };
  const bool core = byte(14) == "12";
  const std::string compression = core ? "0" : byte(30);
  return byte(14) + "/" + byte(core ? 24 : 28) +
         (compression == "1"   ? "/rle8"
          : compression == "2" ? "/rle4"
                               : "");
}

// Runs `script` in the folder: no box, and the screen shows `expected`.
void expect_shown(Scenario& s, const std::string& script,
                  const Pixels& expected) {
  s.script(script);
  const PictureRun run = run_pictures(s);
  EXPECT_TRUE(run.errors().empty()) << run.errors().front();
  EXPECT_TRUE(same_pixels(run.screenshot, expected));
}

// An indexed picture with flat runs and busy literal stretches, written in
// an editor's layouts by the test itself.
Bmp editor_picture(int colours, int width, int height) {
  Bmp b = sprite(width, height, [colours, height](int x, int y) {
    const int index =
        y < height / 2 ? x / 40 + 16 * (y / 30) : (x * 7 + y * 3 + x * y) % 251;
    return static_cast<std::uint8_t>(index % colours);
  });
  b.use_colours(static_cast<std::size_t>(colours));
  for (int i = 0; i < colours; ++i)
    b.colours[i] = {static_cast<std::uint8_t>(i * 5),
                    static_cast<std::uint8_t>(255 - i),
                    static_cast<std::uint8_t>(i * 11)};
  return b;
}

// A file made by ImageMagick from art ("convert art.png OPTIONS:p.bmp") or
// written in an editor's layout, as a 640x480 picture and, when
// `sprite_width` is not 0, as a sprite of that width (a multiple of 4 or not).
struct MadeFile {
  const char* name;
  std::string convert_options;  // empty: `written`
  std::string form;             // info header bytes / bits [/ compression]
  int sprite_width = 0;
  std::function<void(Bmp&)> written =
      nullptr;  // the layout of an editor_picture
  int colours = 256;
};
void PrintTo(const MadeFile& c, std::ostream* os) { *os << c.name; }

// Makes p.bmp, width x height, and checks that it has the form the case is
// about.
bool make(Scenario& s, const MadeFile& c, int width, int height,
          const std::string& art) {
  if (c.written) {
    Bmp b = editor_picture(c.colours, width, height);
    b.info_bytes = 124;
    c.written(b);
    s.write("p.bmp", b.file());
  } else if (!shell(s, art) ||
             !shell(s, "convert art.png " + c.convert_options + ":p.bmp")) {
    return false;
  }
  EXPECT_EQ(form_of(s, "p.bmp"), c.form);
  return true;
}

const MadeFile kFiles[] = {
    // clang-format off
    {"magick_default_rle8", "-type Palette BMP3", "40/8/rle8", 37},
    {"magick_bmp_124_byte_header", "-type Palette BMP", "124/8/rle8", 40},
    {"magick_sixteen_colours", "-colors 16 -type Palette BMP3", "40/4", 37},
    {"magick_two_colours", "-colors 2 -type Palette BMP3", "40/1", 37},
    {"magick_bmp2_core_header", "-colors 200 -type Palette BMP2", "12/8", 37},
    {"magick_bmp2_twelve_colours", "-colors 12 -type Palette BMP2", "12/4", 37},
    {"magick_uncompressed", "-colors 200 -type Palette -compress none BMP3",
     "40/8", 37},
    {"magick_uncompressed_all_colours", "-type Palette -compress none BMP3",
     "40/8", 40},
    {"editor_rle8_colour_space", "", "124/8/rle8", 0,
     [](Bmp& b) { b.colour_space = b.run_length = true; }, 200},
    {"editor_uncompressed_colour_space", "", "124/8", 0,
     [](Bmp& b) { b.colour_space = true; }},
    {"editor_rle4", "", "124/4/rle4", 37, [](Bmp& b) {
       b.bits_per_pixel = 4; b.colour_space = b.run_length = true; }, 16},
    {"editor_four_bits_gap_profile_behind", "", "124/4", 0, [](Bmp& b) {
       b.bits_per_pixel = 4; b.gap_bytes = 10; b.profile_behind = true;
       b.trailing_bytes = 132; }, 9},
    {"editor_one_bit_108_byte_header_top_down", "", "108/1", 37, [](Bmp& b) {
       b.info_bytes = 108; b.bits_per_pixel = 1;
       b.colour_space = b.top_down = true; }, 2},
    // clang-format on
};

class CommonFile : public ::testing::TestWithParam<MadeFile> {};

// As a picture; and as a sprite, whose indices are the picture's: under it
// lies a picture whose colours are the sprite file's own, so that the sprite
// shows as its file decodes.
TEST_P(CommonFile, IsDrawnAsImageMagickDecodesIt) {
  const MadeFile& c = GetParam();
  {
    Scenario s;
    if (!make(s, c, 640, 480, kArt)) return;
    expect_shown(s, "gload\"p.bmp,0,0,0\"\nend\n",
                 decoded_by_magick(s, "p.bmp").pixels);
  }
  if (c.sprite_width == 0) return;
  Scenario s;
  const std::string width = std::to_string(c.sprite_width);
  if (!make(s, c, c.sprite_width, 23,
            "convert -seed 5 -size " + width + "x23 plasma:fractal art.png"))
    return;
  Bmp under = sprite(640, 480, [](int, int) { return 0; });
  under.colours = colour_map(s, "p.bmp");
  ASSERT_FALSE(under.colours.empty());
  s.write("under.bmp", under.file());
  Pixels expected(640 * 480, packed(under.colours[0]));
  draw_at_100_50(expected, decoded_by_magick(s, "p.bmp"), true);
  expect_shown(s,
               "gload\"under.bmp,0,0,0\"\ncharacter\"p.bmp,100,50,1,0\"\nend\n",
               expected);
}

INSTANTIATE_TEST_SUITE_P(Files, CommonFile, ::testing::ValuesIn(kFiles),
                         [](const auto& info) {
                           return std::string(info.param.name);
                         });

// The ImageMagick commands of the guide's section on pictures and sprites,
// continuation lines joined.
std::vector<std::string> guide_recipe() {
  std::string guide = slurp(std::string(MOWA_SOURCE_DIR) + "/docs/scenario.md");
  const std::size_t start =
      guide.find("\n## Pictures, sprites, sounds and music\n");
  guide = std::regex_replace(
      guide.substr(start, guide.find("\n## ", start + 1) - start),
      std::regex("\\\\\n"), "");
  std::vector<std::string> commands;
  std::istringstream lines(guide);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("    convert ", 0) == 0) commands.push_back(line);
  return commands;
}

// The guide's recipe, run on art made here: the picture shows in its
// colours and the sprite over it in its own, black left transparent.
TEST(GuideRecipe, MakesAPictureAndASpriteThatShowRight) {
  const std::vector<std::string> recipe = guide_recipe();
  ASSERT_EQ(recipe.size(), 3u);
  Scenario s;
  if (!shell(s,
             "mkdir -p data && convert -size 700x500 gradient:orange-navy "
             "-swirl 200 room.png && "
             "convert -size 640x480 -seed 3 plasma:green-white hall.png && "
             "convert -size 45x31 xc:black -fill red -draw 'circle 22,15 22,3' "
             "-fill yellow -draw 'rectangle 3,3 9,27' hero.png"))
    return;
  for (const std::string& command : recipe)
    if (!shell(s, command)) return;
  Decoding expected = decoded_by_magick(s, "data/room.bmp");
  const Decoding hero = decoded_by_magick(s, "data/hero.bmp");
  ASSERT_EQ(hero.width, 45);
  const int shown = draw_at_100_50(expected.pixels, hero, false);
  EXPECT_GT(shown, 300);
  EXPECT_LT(shown, 45 * 31);
  expect_shown(s,
               "gload\"data\\room.bmp,0,0,0\"\ncharacter\"data\\hero.bmp,100,"
               "50,0,0\"\nend\n",
               expected.pixels);
}

constexpr char kNotPalette[] = "はパレットの絵じゃないの～、くすん。",
               kNotBmp[] = "はBMPじゃないの～、くすん。",
               kCutShort[] = "が途中で切れているの～、くすん。",
               kNot640x480[] = "は640×480じゃないの～、くすん。";

struct Refused {
  const char* name;
  std::string make;        // shell commands in the folder that leave bad.bmp
  const char* as_picture;  // the reason after the file name
  const char* as_sprite = "";  // "": the same; null: a sprite it would make
};
void PrintTo(const Refused& c, std::ostream* os) { *os << c.name; }

class RefusedFile : public ::testing::TestWithParam<Refused> {};

// Refused as a picture and as a sprite, with the reason; nothing changes.
TEST_P(RefusedFile, SaysWhyAndChangesNothing) {
  const Refused& c = GetParam();
  Scenario s;
  Bmp compressed = editor_picture(256, 640, 480);
  compressed.compression = 4;
  s.write("jpeg.bmp", compressed.file());
  s.write("a.bmp", block_picture().file());
  if (!shell(s, kArt) || !shell(s, c.make)) return;
  s.script(std::string("gload\"a.bmp,0,0,0\"\ngload\"bad.bmp,20,20,0\"\n") +
           (c.as_sprite ? "character\"bad.bmp,0,0,1,0\"\n" : "") + "end\n");
  const PictureRun run = run_pictures(s);
  std::vector<std::string> boxes{std::string("opendib: bad.bmp") +
                                 c.as_picture};
  if (c.as_sprite)
    boxes.push_back(std::string("opendib: bad.bmp") +
                    (*c.as_sprite ? c.as_sprite : c.as_picture));
  EXPECT_EQ(run.errors(), boxes);
  EXPECT_TRUE(same_pixels(run.screenshot, drawn(block_picture())));
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedFile,
    ::testing::Values(
        // clang-format off
        Refused{"true_colour", "convert art.png BMP3:bad.bmp", kNotPalette},
        Refused{"not_a_bmp", "convert art.png PNG:bad.bmp", kNotBmp},
        Refused{"cut_short", "convert art.png -type Palette -compress none "
                "BMP3:whole.bmp && head -c 200000 whole.bmp > bad.bmp",
                kCutShort},
        Refused{"rle_cut_short", "convert art.png -type Palette BMP3:whole.bmp"
                " && head -c 100000 whole.bmp > bad.bmp", kCutShort},
        Refused{"smaller",
                "convert art.png -resize '320x240!' -type Palette BMP3:bad.bmp",
                kNot640x480, nullptr},
        Refused{"larger",
                "convert art.png -resize '700x100!' -type Palette BMP3:bad.bmp",
                kNot640x480, "は640×480より大きいの～、くすん。"},
        Refused{"compression_it_cannot_read", "mv jpeg.bmp bad.bmp",
                "は読めない圧縮なの～、くすん。"}),
    // clang-format on
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mowa::test
