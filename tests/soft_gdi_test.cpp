#include "platform/softgdi/soft_gdi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace mowa::pf {
namespace {

constexpr std::uint32_t kUntouched = 0x123456;
constexpr ColorRef kRedRef = 0x0000FF;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr ColorRef kGreenRef = 0x00FF00;
constexpr std::uint32_t kGreen = 0x00FF00;

using Pixel = std::pair<int, int>;  // x, y

// What table entry i of the test DIBs shows: every entry differs in red.
std::uint32_t table_rgb(int i) {
  return (static_cast<std::uint32_t>(i) << 16) |
         (static_cast<std::uint32_t>(255 - i) << 8) |
         static_cast<std::uint32_t>((i * 7) & 0xFF);
}

// An 8-bit DIB laid out as a caller of StretchDIBits holds it.
struct TestDib {
  std::vector<std::uint8_t> info;
  std::vector<std::uint8_t> bits;
  int width = 0;
  int rows = 0;
  int stride = 0;

  void set(int x, int stored_row, std::uint8_t index) {
    bits[static_cast<std::size_t>(stored_row * stride + x)] = index;
  }
  BitmapInfoHeader header() const {
    BitmapInfoHeader h;
    std::memcpy(&h, info.data(), sizeof h);
    return h;
  }
  void set_header(const BitmapInfoHeader& h) {
    std::memcpy(info.data(), &h, sizeof h);
  }
};

// `height` as in biHeight: positive bottom-up, negative top-down. Pixels
// are filled with `index_of(x, stored_row)`.
TestDib make_dib(int width, int height,
                 const std::function<int(int, int)>& index_of,
                 std::uint32_t clr_used = 0) {
  TestDib dib;
  dib.width = width;
  dib.rows = height < 0 ? -height : height;
  dib.stride = (width * 8 + 31) / 32 * 4;
  const std::uint32_t entries = clr_used == 0 ? 256 : clr_used;
  dib.info.resize(sizeof(BitmapInfoHeader) + entries * sizeof(RgbQuad));
  BitmapInfoHeader h{};
  h.biSize = sizeof h;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = 8;
  h.biCompression = BI_RGB;
  h.biClrUsed = clr_used;
  dib.set_header(h);
  for (std::uint32_t i = 0; i < entries; ++i) {
    const std::uint32_t rgb = table_rgb(static_cast<int>(i));
    const RgbQuad quad{static_cast<std::uint8_t>(rgb),
                       static_cast<std::uint8_t>(rgb >> 8),
                       static_cast<std::uint8_t>(rgb >> 16), 0};
    std::memcpy(dib.info.data() + sizeof h + i * sizeof quad, &quad,
                sizeof quad);
  }
  dib.bits.assign(static_cast<std::size_t>(dib.stride * dib.rows), 0);
  for (int row = 0; row < dib.rows; ++row)
    for (int x = 0; x < width; ++x)
      dib.set(x, row, static_cast<std::uint8_t>(index_of(x, row)));
  return dib;
}

class SoftGdiTest : public ::testing::Test {
 protected:
  SoftGdiTest() {
    surface.width = Surface::kMaxWidth;
    surface.height = Surface::kMaxHeight;
    std::fill(surface.pixels.begin(), surface.pixels.end(), kUntouched);
    dc = gdi.open_dc(&surface);
  }

  int blit(const TestDib& dib, int xd, int yd, int wd, int hd, int xs, int ys,
           int ws, int hs) {
    return gdi.StretchDIBits(dc, xd, yd, wd, hd, xs, ys, ws, hs,
                             dib.bits.data(), dib.info.data(), DIB_RGB_COLORS,
                             SRCCOPY);
  }

  void use_pen_and_brush(ColorRef pen_colour, ColorRef brush_colour) {
    pen = gdi.CreatePen(PS_SOLID, 1, pen_colour);
    brush = gdi.CreateSolidBrush(brush_colour);
    ASSERT_NE(gdi.SelectObject(dc, pen), nullptr);
    ASSERT_NE(gdi.SelectObject(dc, brush), nullptr);
  }

  std::set<Pixel> pixels_of(std::uint32_t rgb) const {
    std::set<Pixel> found;
    for (int y = 0; y < Surface::kMaxHeight; ++y)
      for (int x = 0; x < Surface::kMaxWidth; ++x)
        if (surface.at(x, y) == rgb) found.insert({x, y});
    return found;
  }

  std::size_t count_of(std::uint32_t rgb) const {
    return static_cast<std::size_t>(
        std::count(surface.pixels.begin(), surface.pixels.end(), rgb));
  }

  Faults faults;
  SoftGdi gdi{faults};
  Surface surface;
  Hdc dc = nullptr;
  Hpen pen = nullptr;
  Hbrush brush = nullptr;
};

// ---- rectangles and lines --------------------------------------------------

TEST_F(SoftGdiTest, RectangleFillsUpToButExcludingRightAndBottomEdges) {
  struct Case {
    int x1, y1, x2, y2;            // as passed
    int left, top, right, bottom;  // the area expected
  };
  const Case cases[] = {
      {10, 20, 15, 24, 10, 20, 15, 24},  // ordinary
      {15, 24, 10, 20, 10, 20, 15, 24},  // corners swapped
      {15, 20, 10, 24, 10, 20, 15, 24},  // only x swapped
      {30, 30, 31, 33, 30, 30, 31, 33},  // one pixel wide: all border
      {30, 30, 32, 32, 30, 30, 32, 32},  // two wide: no interior
      {40, 40, 40, 50, 40, 40, 40, 40},  // empty: nothing drawn
  };
  use_pen_and_brush(kRedRef, kGreenRef);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.x1 << "," << c.y1 << " - " << c.x2 << "," << c.y2);
    std::fill(surface.pixels.begin(), surface.pixels.end(), kUntouched);
    EXPECT_EQ(gdi.Rectangle(dc, c.x1, c.y1, c.x2, c.y2), kTrue);
    for (int y = c.top - 2; y < c.bottom + 2; ++y)
      for (int x = c.left - 2; x < c.right + 2; ++x) {
        const bool inside =
            x >= c.left && x < c.right && y >= c.top && y < c.bottom;
        const bool border = inside && (x == c.left || x == c.right - 1 ||
                                       y == c.top || y == c.bottom - 1);
        const std::uint32_t want =
            border ? kRed : (inside ? kGreen : kUntouched);
        ASSERT_EQ(surface.at(x, y), want) << "at " << x << "," << y;
      }
  }
}

TEST_F(SoftGdiTest, LineToLeavesOutItsEndPoint) {
  struct Case {
    int x0, y0, x1, y1;
    std::set<Pixel> lit;
  };
  const Case cases[] = {
      {2, 5, 6, 5, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}},
      {6, 5, 2, 5, {{6, 5}, {5, 5}, {4, 5}, {3, 5}}},
      {3, 1, 3, 4, {{3, 1}, {3, 2}, {3, 3}}},
      {3, 4, 3, 1, {{3, 4}, {3, 3}, {3, 2}}},
      {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
      {3, 0, 0, 3, {{3, 0}, {2, 1}, {1, 2}}},
      // Halfway between two rows the upper pixel is lit, either way round.
      {0, 0, 4, 1, {{0, 0}, {1, 0}, {2, 0}, {3, 1}}},
      {4, 1, 0, 0, {{4, 1}, {3, 1}, {2, 0}, {1, 0}}},
      // Halfway between two columns the left one is lit.
      {0, 0, 1, 4, {{0, 0}, {0, 1}, {0, 2}, {1, 3}}},
      {7, 7, 7, 7, {}},
  };
  use_pen_and_brush(kRedRef, kGreenRef);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1);
    std::fill(surface.pixels.begin(), surface.pixels.end(), kUntouched);
    Point previous{-1, -1};
    ASSERT_EQ(gdi.MoveToEx(dc, c.x0, c.y0, &previous), kTrue);
    EXPECT_EQ(gdi.LineTo(dc, c.x1, c.y1), kTrue);
    EXPECT_EQ(pixels_of(kRed), c.lit);
    // The line ends where the next one starts.
    ASSERT_EQ(gdi.MoveToEx(dc, 0, 0, &previous), kTrue);
    EXPECT_EQ(previous.x, c.x1);
    EXPECT_EQ(previous.y, c.y1);
  }
}

TEST_F(SoftGdiTest, FourLinesOutlineBothEndColumnsAndRows) {
  use_pen_and_brush(kRedRef, kGreenRef);
  const int x1 = 100, y1 = 50, x2 = 110, y2 = 56;
  ASSERT_EQ(gdi.MoveToEx(dc, x1, y1, nullptr), kTrue);
  ASSERT_EQ(gdi.LineTo(dc, x2, y1), kTrue);
  ASSERT_EQ(gdi.LineTo(dc, x2, y2), kTrue);
  ASSERT_EQ(gdi.LineTo(dc, x1, y2), kTrue);
  ASSERT_EQ(gdi.LineTo(dc, x1, y1), kTrue);
  std::set<Pixel> outline;
  for (int x = x1; x <= x2; ++x) outline.insert({{x, y1}, {x, y2}});
  for (int y = y1; y <= y2; ++y) outline.insert({{x1, y}, {x2, y}});
  EXPECT_EQ(pixels_of(kRed), outline);
}

TEST_F(SoftGdiTest, ShapesAreClippedAtEveryEdge) {
  use_pen_and_brush(kRedRef, kGreenRef);
  EXPECT_EQ(gdi.Rectangle(dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX), kTrue);
  EXPECT_EQ(count_of(kGreen), surface.pixels.size());

  std::fill(surface.pixels.begin(), surface.pixels.end(), kUntouched);
  EXPECT_EQ(gdi.Rectangle(dc, 700, 500, 630, 470), kTrue);
  EXPECT_EQ(count_of(kRed), 10u + 9u);  // top row and left column
  EXPECT_EQ(count_of(kGreen), 9u * 9u);
  EXPECT_EQ(surface.at(630, 479), kRed);
  EXPECT_EQ(surface.at(639, 479), kGreen);

  std::fill(surface.pixels.begin(), surface.pixels.end(), kUntouched);
  EXPECT_EQ(gdi.Rectangle(dc, -5, -5, 5, 5), kTrue);
  EXPECT_EQ(surface.at(4, 4), kRed);
  EXPECT_EQ(surface.at(0, 0), kGreen);
  EXPECT_EQ(count_of(kRed), 9u);

  std::fill(surface.pixels.begin(), surface.pixels.end(), kUntouched);
  surface.changed = false;
  EXPECT_EQ(gdi.Rectangle(dc, 640, 0, 700, 480), kTrue);
  EXPECT_EQ(gdi.Rectangle(dc, -100, -100, 0, 0), kTrue);
  EXPECT_FALSE(surface.changed);

  struct LineCase {
    int x0, y0, x1, y1;
    std::size_t lit;
  };
  const LineCase lines[] = {
      {INT_MIN, 10, INT_MAX, 10, 640},
      {INT_MAX, 10, INT_MIN, 10, 640},
      {5, INT_MIN, 5, INT_MAX, 480},
      {-1000, -1000, 1000, 1000, 480},
      {1000, 1000, -1000, -1000, 480},
      {-10, 500, 700, 500, 0},
      {INT_MIN, INT_MIN, INT_MAX, INT_MIN + 7, 0},
  };
  for (const LineCase& c : lines) {
    SCOPED_TRACE(::testing::Message()
                 << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1);
    std::fill(surface.pixels.begin(), surface.pixels.end(), kUntouched);
    ASSERT_EQ(gdi.MoveToEx(dc, c.x0, c.y0, nullptr), kTrue);
    EXPECT_EQ(gdi.LineTo(dc, c.x1, c.y1), kTrue);
    EXPECT_EQ(count_of(kRed), c.lit);
  }
}

TEST_F(SoftGdiTest, DrawingStaysInsideASmallerClientArea) {
  surface.width = 100;
  surface.height = 50;
  use_pen_and_brush(kRedRef, kGreenRef);
  EXPECT_EQ(gdi.Rectangle(dc, 0, 0, 640, 480), kTrue);
  ASSERT_EQ(gdi.MoveToEx(dc, 0, 49, nullptr), kTrue);
  EXPECT_EQ(gdi.LineTo(dc, 640, 49), kTrue);
  const TestDib dib = make_dib(640, 480, [](int, int) { return 9; });
  EXPECT_EQ(blit(dib, 0, 0, 640, 480, 0, 0, 640, 480), 480);
  for (int y = 0; y < Surface::kMaxHeight; ++y)
    for (int x = 0; x < Surface::kMaxWidth; ++x)
      ASSERT_EQ(surface.at(x, y) == kUntouched, x >= 100 || y >= 50)
          << "at " << x << "," << y;
}

// ---- StretchDIBits
// -----------------------------------------------------------

TEST_F(SoftGdiTest, BottomUpDibShowsStoredRowZeroAtTheBottom) {
  const TestDib dib =
      make_dib(4, 3, [](int x, int row) { return 1 + row * 4 + x; });
  EXPECT_EQ(blit(dib, 0, 0, 4, 3, 0, 0, 4, 3), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(surface.at(x, y), table_rgb(1 + (2 - y) * 4 + x))
          << x << "," << y;
  EXPECT_EQ(surface.at(4, 0), kUntouched);
  EXPECT_EQ(surface.at(0, 3), kUntouched);
  EXPECT_TRUE(surface.changed);
}

TEST_F(SoftGdiTest, TopDownDibShowsStoredRowZeroAtTheTop) {
  const TestDib dib =
      make_dib(4, -3, [](int x, int row) { return 1 + row * 4 + x; });
  EXPECT_EQ(blit(dib, 0, 0, 4, 3, 0, 0, 4, 3), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(surface.at(x, y), table_rgb(1 + y * 4 + x)) << x << "," << y;
}

TEST_F(SoftGdiTest, SourceYCountsFromTheFirstStoredRow) {
  struct Case {
    int bi_height;
    int y_src;
    int top_stored_row;  // the stored row that lands on the top dest row
    int step;            // stored row change per dest row downwards
  };
  const Case cases[] = {
      {6, 1, 3, -1},  // bottom-up: rows 1..3, the highest at the top
      {6, 3, 5, -1},  // the top rows of the picture
      {-6, 1, 1, 1},  // top-down: rows 1..3 in order
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "biHeight " << c.bi_height << " y_src " << c.y_src);
    const TestDib dib =
        make_dib(2, c.bi_height, [](int x, int row) { return row * 2 + x; });
    std::fill(surface.pixels.begin(), surface.pixels.end(), kUntouched);
    EXPECT_EQ(blit(dib, 10, 20, 2, 3, 0, c.y_src, 2, 3), 3);
    for (int i = 0; i < 3; ++i)
      for (int x = 0; x < 2; ++x)
        EXPECT_EQ(surface.at(10 + x, 20 + i),
                  table_rgb((c.top_stored_row + c.step * i) * 2 + x));
    EXPECT_EQ(surface.at(10, 23), kUntouched);
  }
}

TEST_F(SoftGdiTest, StretchTakesTheNearestSourcePixel) {
  // Index from the shown position, so expectations read top-down.
  const auto shown_index = [](int x, int shown_y) {
    return (x * 3 + shown_y * 5) & 0xFF;
  };
  struct Case {
    int src_width, src_height, src_x, src_y;
  };
  const Case cases[] = {
      {320, 240, 0, 0},    // doubles every pixel
      {280, 210, 0, 270},  // the deepest zoom: the top-left of the picture
      {640, 480, 0, 0},    // one to one
  };
  const TestDib dib = make_dib(
      640, 480, [&](int x, int row) { return shown_index(x, 479 - row); });
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.src_width << "x" << c.src_height);
    std::fill(surface.pixels.begin(), surface.pixels.end(), kUntouched);
    EXPECT_EQ(
        blit(dib, 0, 0, 640, 480, c.src_x, c.src_y, c.src_width, c.src_height),
        c.src_height);
    // The source rectangle's top shown row.
    const int top = 480 - (c.src_y + c.src_height);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        ASSERT_EQ(surface.at(x, y),
                  table_rgb(shown_index(c.src_x + x * c.src_width / 640,
                                        top + y * c.src_height / 480)))
            << "at " << x << "," << y;
  }
}

TEST_F(SoftGdiTest, ShrinkAndMirrorMapPixelsAsExpected) {
  const TestDib dib =
      make_dib(8, -2, [](int x, int row) { return 10 * row + x; });
  // Half size: every second column.
  EXPECT_EQ(blit(dib, 0, 0, 4, 1, 0, 0, 8, 1), 1);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(surface.at(x, 0), table_rgb(2 * x));
  // A negative destination width mirrors the row.
  EXPECT_EQ(blit(dib, 8, 1, -8, 1, 0, 0, 8, 1), 1);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(surface.at(x, 1), table_rgb(7 - x));
  // A negative source height flips the rows.
  EXPECT_EQ(blit(dib, 0, 2, 8, 2, 0, 2, 8, -2), 2);
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(surface.at(x, 2), table_rgb(10 + x));
    EXPECT_EQ(surface.at(x, 3), table_rgb(x));
  }
}

TEST_F(SoftGdiTest, BlitIsClippedToSurfaceAndBitmap) {
  const TestDib dib =
      make_dib(640, 480, [](int x, int row) { return (x + row) & 0xFF; });
  const auto shown = [](int x, int y) {
    return table_rgb((x + 479 - y) & 0xFF);
  };

  // Off the top-left: dest (0, 0) shows picture pixel (10, 10).
  EXPECT_EQ(blit(dib, -10, -10, 640, 480, 0, 0, 640, 480), 480);
  EXPECT_EQ(surface.at(0, 0), shown(10, 10));
  EXPECT_EQ(surface.at(629, 469), shown(639, 479));
  EXPECT_EQ(surface.at(630, 0), kUntouched);
  EXPECT_EQ(surface.at(0, 470), kUntouched);

  // Off the bottom-right.
  std::fill(surface.pixels.begin(), surface.pixels.end(), kUntouched);
  EXPECT_EQ(blit(dib, 600, 450, 640, 480, 0, 0, 640, 480), 480);
  EXPECT_EQ(count_of(kUntouched), 640u * 480u - 40u * 30u);
  EXPECT_EQ(surface.at(639, 479), shown(39, 29));

  // Far away in every direction: nothing drawn, nothing read.
  std::fill(surface.pixels.begin(), surface.pixels.end(), kUntouched);
  surface.changed = false;
  EXPECT_EQ(blit(dib, INT_MAX - 5, 0, 640, 480, 0, 0, 640, 480), 480);
  EXPECT_EQ(blit(dib, INT_MIN, INT_MIN, 640, 480, 0, 0, 640, 480), 480);
  EXPECT_EQ(blit(dib, 0, 480, 640, 480, 0, 0, 640, 480), 480);
  EXPECT_EQ(blit(dib, 0, 0, INT_MIN, INT_MIN, 0, 0, 640, 480), 480);
  EXPECT_EQ(count_of(kUntouched), 640u * 480u);
  EXPECT_FALSE(surface.changed);

  // A source rectangle reaching past the bitmap leaves those pixels alone
  // and counts only the rows that exist.
  EXPECT_EQ(blit(dib, 0, 0, 640, 480, -10, -20, 640, 480), 460);
  EXPECT_EQ(surface.at(9, 0), kUntouched);
  EXPECT_EQ(surface.at(10, 0), shown(0, 20));
  EXPECT_EQ(surface.at(10, 459), shown(0, 479));
  EXPECT_EQ(surface.at(10, 460), kUntouched);
  EXPECT_EQ(blit(dib, 0, 0, 640, 480, INT_MAX, INT_MAX, INT_MAX, INT_MAX), 0);
  EXPECT_EQ(blit(dib, 0, 0, 640, 480, INT_MIN, INT_MIN, 640, 480), 0);
}

TEST_F(SoftGdiTest, ColoursComeFromTheDibColourTable) {
  TestDib dib = make_dib(
      4, 1, [](int x, int) { return x == 3 ? 200 : x; }, 3);
  const RgbQuad quad{0x11, 0x22, 0x33, 0x99};  // blue, green, red, ignored
  std::memcpy(dib.info.data() + sizeof(BitmapInfoHeader) + sizeof quad, &quad,
              sizeof quad);
  EXPECT_EQ(blit(dib, 0, 0, 4, 1, 0, 0, 4, 1), 1);
  EXPECT_EQ(surface.at(0, 0), table_rgb(0));
  EXPECT_EQ(surface.at(1, 0), 0x332211u);
  EXPECT_EQ(surface.at(2, 0), table_rgb(2));
  EXPECT_EQ(surface.at(3, 0), 0u);  // past a three-entry table: black
}

TEST_F(SoftGdiTest, UnsupportedBlitsCopyNothing) {
  const TestDib good = make_dib(4, 4, [](int, int) { return 1; });
  struct Case {
    const char* what;
    std::function<void(BitmapInfoHeader&)> change;
    Uint usage;
    Dword rop;
  };
  const Case cases[] = {
      {"24 bits", [](BitmapInfoHeader& h) { h.biBitCount = 24; }, 0, SRCCOPY},
      {"RLE", [](BitmapInfoHeader& h) { h.biCompression = 1; }, 0, SRCCOPY},
      {"zero width", [](BitmapInfoHeader& h) { h.biWidth = 0; }, 0, SRCCOPY},
      {"zero height", [](BitmapInfoHeader& h) { h.biHeight = 0; }, 0, SRCCOPY},
      {"short header", [](BitmapInfoHeader& h) { h.biSize = 12; }, 0, SRCCOPY},
      {"huge table", [](BitmapInfoHeader& h) { h.biClrUsed = 257; }, 0,
       SRCCOPY},
      {"palette indices", [](BitmapInfoHeader&) {}, 1, SRCCOPY},
      {"other rop", [](BitmapInfoHeader&) {}, DIB_RGB_COLORS, 0x00EE0086},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestDib dib = good;
    BitmapInfoHeader h = dib.header();
    c.change(h);
    dib.set_header(h);
    EXPECT_EQ(gdi.StretchDIBits(dc, 0, 0, 4, 4, 0, 0, 4, 4, dib.bits.data(),
                                dib.info.data(), c.usage, c.rop),
              0);
  }
  EXPECT_EQ(gdi.StretchDIBits(dc, 0, 0, 4, 4, 0, 0, 4, 4, nullptr,
                              good.info.data(), DIB_RGB_COLORS, SRCCOPY),
            0);
  EXPECT_EQ(gdi.StretchDIBits(dc, 0, 0, 4, 4, 0, 0, 4, 4, good.bits.data(),
                              nullptr, DIB_RGB_COLORS, SRCCOPY),
            0);
  EXPECT_EQ(count_of(kUntouched), surface.pixels.size());
  // A zero-sized blit draws nothing but is no failure.
  EXPECT_EQ(blit(good, 0, 0, 4, 4, 0, 0, 4, 0), 0);
}

// ---- palettes
// ----------------------------------------------------------------

TEST_F(SoftGdiTest, SelectingAndRealisingAPaletteChangesNoPixel) {
  const TestDib dib =
      make_dib(640, 480, [](int x, int row) { return (x * row) & 0xFF; });
  ASSERT_EQ(blit(dib, 0, 0, 640, 480, 0, 0, 640, 480), 480);
  const std::vector<std::uint32_t> before = surface.pixels;
  surface.changed = false;

  std::vector<std::uint8_t> block(sizeof(LogPalette) +
                                  255 * sizeof(PaletteEntry));
  const LogPalette head{0x300, 256, {{0, 0, 0, 0}}};
  std::memcpy(block.data(), &head, sizeof head);
  for (int i = 0; i < 256; ++i) {
    const PaletteEntry e{static_cast<std::uint8_t>(255 - i), 0, 7, 0};
    std::memcpy(block.data() + 4 + i * 4, &e, sizeof e);
  }
  LogPalette* record = reinterpret_cast<LogPalette*>(block.data());
  const Hpalette palette = gdi.CreatePalette(record);
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(gdi.RealizePalette(dc), 20u);  // the default palette
  const Hpalette stock = gdi.SelectPalette(dc, palette, kFalse);
  EXPECT_NE(stock, nullptr);
  EXPECT_EQ(gdi.RealizePalette(dc), 256u);
  EXPECT_EQ(gdi.SelectPalette(dc, stock, kFalse), palette);
  EXPECT_EQ(gdi.SelectPalette(dc, palette, kTrue), stock);
  EXPECT_EQ(gdi.SelectObject(dc, palette), nullptr);  // not through here

  EXPECT_EQ(surface.pixels, before);
  EXPECT_FALSE(surface.changed);
  EXPECT_EQ(gdi.DeleteObject(palette), kTrue);
}

// ---- objects and device contexts
// ---------------------------------------------

TEST_F(SoftGdiTest, FreshDeviceContextHasGdiDefaults) {
  EXPECT_EQ(gdi.SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(gdi.SetTextColor(dc, kRedRef), 0u);
  Point previous{-1, -1};
  EXPECT_EQ(gdi.MoveToEx(dc, 3, 3, &previous), kTrue);
  EXPECT_EQ(previous.x, 0);
  EXPECT_EQ(previous.y, 0);
  EXPECT_EQ(gdi.GetDeviceCaps(dc, HORZRES), 640);
  EXPECT_EQ(gdi.GetDeviceCaps(dc, VERTRES), 480);
  EXPECT_EQ(gdi.GetDeviceCaps(dc, BITSPIXEL), 32);
  EXPECT_EQ(gdi.GetDeviceCaps(dc, 88), 0);
  gdi.set_display_format(800, 600, 8);
  EXPECT_EQ(gdi.GetDeviceCaps(dc, HORZRES), 800);
  EXPECT_EQ(gdi.GetDeviceCaps(dc, VERTRES), 600);
  EXPECT_EQ(gdi.GetDeviceCaps(dc, BITSPIXEL), 8);

  // Black one-pixel pen, white brush.
  EXPECT_EQ(gdi.Rectangle(dc, 0, 0, 3, 3), kTrue);
  EXPECT_EQ(surface.at(0, 0), 0u);
  EXPECT_EQ(surface.at(1, 1), 0xFFFFFFu);
  EXPECT_EQ(gdi.live_objects(), 0u);
}

TEST_F(SoftGdiTest, DeleteObjectFollowsGdiRules) {
  EXPECT_EQ(gdi.DeleteObject(nullptr), kFalse);
  EXPECT_EQ(gdi.DeleteObject(reinterpret_cast<Hgdiobj>(dc)), kFalse);

  const Hpen red = gdi.CreatePen(PS_SOLID, 1, kRedRef);
  const Hbrush green = gdi.CreateSolidBrush(kGreenRef);
  ASSERT_NE(red, nullptr);
  ASSERT_NE(green, nullptr);
  EXPECT_NE(red, green);
  EXPECT_EQ(gdi.live_objects(), 2u);

  const Hpen stock_pen = gdi.SelectObject(dc, red);
  const Hbrush stock_brush = gdi.SelectObject(dc, green);
  ASSERT_NE(stock_pen, nullptr);
  ASSERT_NE(stock_brush, nullptr);
  EXPECT_EQ(gdi.DeleteObject(red), kFalse);  // still selected
  EXPECT_EQ(gdi.DeleteObject(green), kFalse);
  EXPECT_EQ(gdi.SelectObject(dc, stock_pen), red);
  EXPECT_EQ(gdi.DeleteObject(red), kTrue);
  EXPECT_EQ(gdi.DeleteObject(red), kFalse);  // gone
  EXPECT_EQ(gdi.SelectObject(dc, red), nullptr);

  // Stock objects survive being "deleted".
  EXPECT_EQ(gdi.DeleteObject(stock_pen), kTrue);
  EXPECT_EQ(gdi.SelectObject(dc, stock_pen), stock_pen);
  EXPECT_EQ(gdi.Rectangle(dc, 0, 0, 3, 3), kTrue);
  EXPECT_EQ(surface.at(0, 0), 0u);
  EXPECT_EQ(surface.at(1, 1), kGreen);

  // Closing the context releases what it held.
  gdi.close_dc(dc);
  EXPECT_EQ(gdi.DeleteObject(green), kTrue);
  EXPECT_EQ(gdi.live_objects(), 0u);
}

TEST_F(SoftGdiTest, DeletingTheSelectedPaletteFallsBackToTheDefault) {
  const LogPalette one{0x300, 1, {{1, 2, 3, 0}}};
  const Hpalette palette = gdi.CreatePalette(&one);
  ASSERT_NE(palette, nullptr);
  const Hpalette stock = gdi.SelectPalette(dc, palette, kFalse);
  EXPECT_EQ(gdi.RealizePalette(dc), 1u);
  EXPECT_EQ(gdi.DeleteObject(palette), kTrue);
  EXPECT_EQ(gdi.RealizePalette(dc), 20u);
  EXPECT_EQ(gdi.SelectPalette(dc, palette, kFalse), nullptr);
  EXPECT_EQ(gdi.SelectPalette(dc, stock, kFalse), stock);
  EXPECT_EQ(gdi.DeleteObject(stock), kTrue);  // stock: nothing happens
  EXPECT_EQ(gdi.RealizePalette(dc), 20u);
  EXPECT_EQ(gdi.live_objects(), 0u);
}

TEST_F(SoftGdiTest, ObjectsAreSharedAcrossContextsAndStateIsNot) {
  Surface other;
  other.width = 640;
  other.height = 480;
  const Hdc dc2 = gdi.open_dc(&other);
  ASSERT_NE(dc2, nullptr);
  EXPECT_NE(dc2, dc);
  EXPECT_TRUE(gdi.is_dc(dc2));

  const Hpen red = gdi.CreatePen(PS_SOLID, 1, kRedRef);
  ASSERT_NE(gdi.SelectObject(dc, red), nullptr);
  ASSERT_NE(gdi.SelectObject(dc2, red), nullptr);
  ASSERT_EQ(gdi.MoveToEx(dc, 0, 10, nullptr), kTrue);
  ASSERT_EQ(gdi.LineTo(dc2, 5, 0), kTrue);  // dc2 still starts at (0, 0)
  EXPECT_EQ(other.at(4, 0), kRed);
  EXPECT_EQ(count_of(kRed), 0u);  // nothing on the first surface
  EXPECT_EQ(gdi.SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(gdi.SetBkMode(dc2, TRANSPARENT), OPAQUE);

  // A closed context is gone for good; its objects are not.
  gdi.close_dc(dc);
  EXPECT_FALSE(gdi.is_dc(dc));
  EXPECT_EQ(gdi.DeleteObject(red), kFalse);  // dc2 still holds it
  EXPECT_EQ(gdi.Rectangle(dc, 0, 0, 5, 5), kFalse);
  EXPECT_EQ(gdi.SelectObject(dc, red), nullptr);
  EXPECT_EQ(gdi.SetTextColor(dc, 0), CLR_INVALID);
  EXPECT_EQ(gdi.SetBkMode(dc, OPAQUE), 0);
  EXPECT_EQ(gdi.RealizePalette(dc), GDI_ERROR);
  EXPECT_EQ(gdi.GetDeviceCaps(dc, HORZRES), 0);
  EXPECT_EQ(gdi.TextOutA(dc, 0, 0, "a", 1), kFalse);
  EXPECT_EQ(gdi.MoveToEx(dc, 0, 0, nullptr), kFalse);
  EXPECT_EQ(gdi.LineTo(dc, 1, 1), kFalse);
  EXPECT_EQ(gdi.StretchDIBits(dc, 0, 0, 1, 1, 0, 0, 1, 1, "", "", 0, SRCCOPY),
            0);
  // An object handle is no context, and a context no object.
  EXPECT_EQ(gdi.Rectangle(reinterpret_cast<Hdc>(red), 0, 0, 5, 5), kFalse);
  EXPECT_EQ(gdi.SelectObject(dc2, reinterpret_cast<Hgdiobj>(dc2)), nullptr);
  gdi.close_dc(dc2);
  EXPECT_EQ(gdi.DeleteObject(red), kTrue);
  EXPECT_EQ(count_of(kRed), 0u);
}

TEST_F(SoftGdiTest, WholeScreenContextAcceptsEveryCallAndDrawsNothing) {
  const Hdc screen = gdi.open_dc(nullptr);
  const TestDib dib = make_dib(4, 4, [](int, int) { return 3; });
  EXPECT_EQ(gdi.StretchDIBits(screen, 0, 0, 4, 4, 0, 0, 4, 4, dib.bits.data(),
                              dib.info.data(), DIB_RGB_COLORS, SRCCOPY),
            4);
  EXPECT_EQ(gdi.Rectangle(screen, 0, 0, 10, 10), kTrue);
  EXPECT_EQ(gdi.LineTo(screen, 10, 10), kTrue);
  EXPECT_EQ(gdi.GetDeviceCaps(screen, BITSPIXEL), 32);
  gdi.close_dc(screen);
  EXPECT_EQ(count_of(kUntouched), surface.pixels.size());
}

// ---- fault injection
// ---------------------------------------------------------

TEST_F(SoftGdiTest, InjectedFaultsReturnEachCallsFailureValue) {
  const TestDib dib = make_dib(4, 4, [](int, int) { return 3; });
  const LogPalette one{0x300, 1, {{1, 2, 3, 0}}};
  const Hpen red = gdi.CreatePen(PS_SOLID, 1, kRedRef);
  const Hpalette palette = gdi.CreatePalette(&one);
  LogFontA logfont{};
  logfont.lfHeight = -16;
  const auto handle = [](const void* h) {
    return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(h));
  };
  struct Case {
    const char* name;
    std::function<std::int64_t()> call;
    std::int64_t failure;
  };
  const Case cases[] = {
      {"CreatePalette", [&] { return handle(gdi.CreatePalette(&one)); }, 0},
      {"SelectPalette",
       [&] { return handle(gdi.SelectPalette(dc, palette, kFalse)); }, 0},
      {"RealizePalette", [&] { return std::int64_t{gdi.RealizePalette(dc)}; },
       GDI_ERROR},
      {"DeleteObject", [&] { return std::int64_t{gdi.DeleteObject(red)}; }, 0},
      {"StretchDIBits",
       [&] {
         return std::int64_t{gdi.StretchDIBits(dc, 0, 0, 4, 4, 0, 0, 4, 4,
                                               dib.bits.data(), dib.info.data(),
                                               DIB_RGB_COLORS, SRCCOPY)};
       },
       GDI_ERROR_INT},
      {"CreateFontIndirectA",
       [&] { return handle(gdi.CreateFontIndirectA(&logfont)); }, 0},
      {"SelectObject", [&] { return handle(gdi.SelectObject(dc, red)); }, 0},
      {"SetBkMode",
       [&] { return std::int64_t{gdi.SetBkMode(dc, TRANSPARENT)}; }, 0},
      {"SetTextColor", [&] { return std::int64_t{gdi.SetTextColor(dc, 0)}; },
       CLR_INVALID},
      {"TextOutA", [&] { return std::int64_t{gdi.TextOutA(dc, 0, 0, "a", 1)}; },
       0},
      {"CreatePen", [&] { return handle(gdi.CreatePen(PS_SOLID, 1, kRedRef)); },
       0},
      {"CreateSolidBrush",
       [&] { return handle(gdi.CreateSolidBrush(kRedRef)); }, 0},
      {"Rectangle", [&] { return std::int64_t{gdi.Rectangle(dc, 0, 0, 9, 9)}; },
       0},
      {"MoveToEx",
       [&] { return std::int64_t{gdi.MoveToEx(dc, 5, 5, nullptr)}; }, 0},
      {"LineTo", [&] { return std::int64_t{gdi.LineTo(dc, 9, 0)}; }, 0},
      {"GetDeviceCaps",
       [&] { return std::int64_t{gdi.GetDeviceCaps(dc, HORZRES)}; }, 0},
  };
  const std::size_t objects = gdi.live_objects();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    faults.fail_always(c.name);
    const std::uint64_t calls = faults.calls(c.name);
    EXPECT_EQ(c.call(), c.failure);
    EXPECT_EQ(faults.calls(c.name), calls + 1);
  }
  // Nothing was made, deleted, selected or drawn.
  EXPECT_EQ(gdi.live_objects(), objects);
  EXPECT_EQ(count_of(kUntouched), surface.pixels.size());
  EXPECT_FALSE(surface.changed);

  // Only the named call fails, and only on its turn.
  Faults once;
  SoftGdi gdi2{once};
  const Hdc dc2 = gdi2.open_dc(&surface);
  once.fail_on_call("CreateSolidBrush", 2);
  EXPECT_NE(gdi2.CreateSolidBrush(0), nullptr);
  EXPECT_EQ(gdi2.CreateSolidBrush(0), nullptr);
  EXPECT_NE(gdi2.CreateSolidBrush(0), nullptr);
  EXPECT_EQ(gdi2.SetBkMode(dc2, TRANSPARENT), OPAQUE);
}

// ---- text
// ----------------------------------------------------------------------

TEST_F(SoftGdiTest, TextIsDrawnInTheTextColourOverTheBackgroundMode) {
  const char kText[] =
      "\x82\xa0"
      "A1";  // a kana, a letter and a digit
  const int length = static_cast<int>(sizeof kText - 1);
  ASSERT_EQ(gdi.SetTextColor(dc, kRedRef), 0u);
  if (gdi.TextOutA(dc, 20, 20, kText, length) != kTrue)
    GTEST_SKIP() << "no font face to draw with";
  // Opaque by default: cells on white.
  EXPECT_GT(count_of(kRed), 0u);
  EXPECT_GT(count_of(0xFFFFFF), 0u);
  EXPECT_TRUE(surface.changed);
  const std::set<Pixel> opaque_ink = pixels_of(kRed);

  std::fill(surface.pixels.begin(), surface.pixels.end(), kUntouched);
  ASSERT_EQ(gdi.SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(gdi.SetBkMode(dc, 7), 0);  // no such mode: nothing changes
  EXPECT_EQ(gdi.TextOutA(dc, 20, 20, kText, length), kTrue);
  EXPECT_EQ(pixels_of(kRed), opaque_ink);
  EXPECT_EQ(count_of(kRed) + count_of(kUntouched), surface.pixels.size());

  // A created font draws too, and the text lands at the given point.
  LogFontA logfont{};
  logfont.lfHeight = -24;
  logfont.lfWidth = 14;
  logfont.lfWeight = 1000;
  logfont.lfCharSet = SHIFTJIS_CHARSET;
  const Hfont font = gdi.CreateFontIndirectA(&logfont);
  ASSERT_NE(font, nullptr);
  const Hfont stock_font = gdi.SelectObject(dc, font);
  ASSERT_NE(stock_font, nullptr);
  std::fill(surface.pixels.begin(), surface.pixels.end(), kUntouched);
  EXPECT_EQ(gdi.TextOutA(dc, 300, 200, kText, length), kTrue);
  const std::set<Pixel> ink = pixels_of(kRed);
  ASSERT_FALSE(ink.empty());
  for (const Pixel& p : ink) {
    EXPECT_GE(p.first, 300);
    EXPECT_GE(p.second, 200);
  }
  EXPECT_EQ(gdi.DeleteObject(font), kFalse);
  EXPECT_EQ(gdi.SelectObject(dc, stock_font), font);
  EXPECT_EQ(gdi.DeleteObject(font), kTrue);
  EXPECT_EQ(gdi.live_objects(), 0u);
}

TEST_F(SoftGdiTest, TextOutChecksItsLength) {
  EXPECT_EQ(gdi.TextOutA(dc, 0, 0, "abc", -1), kFalse);
  EXPECT_EQ(gdi.TextOutA(dc, 0, 0, nullptr, 3), kFalse);
  const Bool empty = gdi.TextOutA(dc, 0, 0, "", 0);
  if (empty != kTrue) GTEST_SKIP() << "no font face to draw with";
  EXPECT_EQ(count_of(kUntouched), surface.pixels.size());
  EXPECT_FALSE(surface.changed);
}

}  // namespace
}  // namespace mowa::pf
