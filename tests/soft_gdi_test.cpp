#include "platform/softgdi/soft_gdi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/headless/headless_window.h"
#include "platform/softgdi/png_io.h"

namespace mowa::pf {
namespace {

constexpr std::uint32_t kUntouched = 0x123456;
constexpr ColorRef kRedRef = 0x0000FF;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;  // the same as a COLORREF

using Pixel = std::pair<int, int>;  // x, y

// What table entry i of the test DIBs shows: every entry differs in red.
std::uint32_t table_rgb(int i) {
  const auto u = static_cast<std::uint32_t>(i);
  return (u << 16) | ((255 - u) << 8) | ((u * 7) & 0xFF);
}

// An 8-bit DIB laid out as a caller of StretchDIBits holds it: `height` as in
// biHeight (negative: top-down), pixels `index_of(x, stored_row)`.
struct TestDib {
  int width, rows;
  std::vector<std::uint8_t> info, bits;
};
TestDib make_dib(int width, int height,
                 const std::function<int(int, int)>& index_of,
                 std::uint32_t clr_used = 0) {
  const int rows = std::abs(height), stride = (width + 3) / 4 * 4;
  const std::uint32_t entries = clr_used == 0 ? 256 : clr_used;
  const BitmapInfoHeader h{40, width, height, 1, 8, 0, 0, 0, 0, clr_used, 0};
  TestDib dib{
      width, rows, std::vector<std::uint8_t>(40 + entries * 4),
      std::vector<std::uint8_t>(static_cast<std::size_t>(stride * rows))};
  std::memcpy(dib.info.data(), &h, sizeof h);
  for (std::uint32_t i = 0; i < entries; ++i)
    for (std::uint32_t byte = 0; byte < 3; ++byte)  // blue, green, red
      dib.info[40 + i * 4 + byte] = static_cast<std::uint8_t>(
          table_rgb(static_cast<int>(i)) >> (8 * byte));
  for (int row = 0; row < rows; ++row)
    for (int x = 0; x < width; ++x)
      dib.bits[static_cast<std::size_t>(row * stride + x)] =
          static_cast<std::uint8_t>(index_of(x, row));
  return dib;
}

class SoftGdiTest : public ::testing::Test {
 protected:
  SoftGdiTest() { clear(); }
  void clear() {
    std::fill(surface.pixels.begin(), surface.pixels.end(), kUntouched);
    surface.changed = false;
  }
  // The source rectangle is the whole DIB unless given.
  int blit(const TestDib& dib, int xd, int yd, int wd, int hd, int xs = 0,
           int ys = 0, int ws = -1, int hs = -1) {
    return gdi.StretchDIBits(dc, xd, yd, wd, hd, xs, ys,
                             ws == -1 ? dib.width : ws,
                             hs == -1 ? dib.rows : hs, dib.bits.data(),
                             dib.info.data(), DIB_RGB_COLORS, SRCCOPY);
  }
  void red_pen_green_brush() {
    ASSERT_NE(gdi.SelectObject(dc, gdi.CreatePen(PS_SOLID, 1, kRedRef)),
              nullptr);
    ASSERT_NE(gdi.SelectObject(dc, gdi.CreateSolidBrush(kGreen)), nullptr);
  }
  std::set<Pixel> pixels_of(std::uint32_t rgb) const {
    std::set<Pixel> found;
    for (int y = 0; y < surface.height(); ++y)
      for (int x = 0; x < surface.width(); ++x)
        if (surface.at(x, y) == rgb) found.insert({x, y});
    return found;
  }
  // Every pixel as `want` says; else the first that is not.
  ::testing::AssertionResult shows(
      const std::function<std::uint32_t(int, int)>& want) const {
    for (int y = 0; y < surface.height(); ++y)
      for (int x = 0; x < surface.width(); ++x)
        if (surface.at(x, y) != want(x, y))
          return ::testing::AssertionFailure() << "at " << x << "," << y;
    return ::testing::AssertionSuccess();
  }
  bool untouched() const {
    return std::ranges::all_of(surface.pixels,
                               [](std::uint32_t p) { return p == kUntouched; });
  }

  Faults faults;
  SoftGdi gdi{faults};
  Surface surface{640, 480};
  Hdc dc = gdi.open_dc(&surface);
};

TEST_F(SoftGdiTest, RectangleFillsUpToButExcludingRightAndBottomEdges) {
  // The corners as passed, then the area expected.
  struct Case {
    int x1, y1, x2, y2;
    std::int64_t left, top, right, bottom;
  } const cases[] = {
      // clang-format off
      {10, 20, 15, 24, 10, 20, 15, 24},  // ordinary
      {15, 24, 10, 20, 10, 20, 15, 24},  // corners swapped
      {15, 20, 10, 24, 10, 20, 15, 24},  // only x swapped
      {30, 30, 31, 33, 30, 30, 31, 33},  // one pixel wide: all border
      {30, 30, 32, 32, 30, 30, 32, 32},  // two wide: no interior
      {40, 40, 40, 50, 40, 40, 40, 40},  // empty: nothing drawn
      // Clipped at every edge of the surface.
      {INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX},
      {700, 500, 630, 470, 630, 470, 700, 500},
      {-5, -5, 5, 5, -5, -5, 5, 5}, {640, 0, 700, 480, 640, 0, 700, 480},
      {-100, -100, 0, 0, -100, -100, 0, 0},
      // clang-format on
  };
  red_pen_green_brush();
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    clear();
    EXPECT_EQ(gdi.Rectangle(dc, c.x1, c.y1, c.x2, c.y2), kTrue);
    EXPECT_TRUE(shows([&c](int x, int y) {
      const bool in = x >= c.left && x < c.right && y >= c.top && y < c.bottom;
      const bool border = in && (x == c.left || x == c.right - 1 ||
                                 y == c.top || y == c.bottom - 1);
      return border ? kRed : in ? kGreen : kUntouched;
    }));
    EXPECT_EQ(surface.changed, !untouched());
  }
}

TEST_F(SoftGdiTest, LineToLeavesOutItsEndPoint) {
  struct Case {
    int x0, y0, x1, y1;
    std::set<Pixel> lit;
    std::size_t clipped = 0;  // when not 0: how many are lit
  } const cases[] = {
      // clang-format off
      {2, 5, 6, 5, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}},
      {6, 5, 2, 5, {{6, 5}, {5, 5}, {4, 5}, {3, 5}}},
      {3, 1, 3, 4, {{3, 1}, {3, 2}, {3, 3}}}, {7, 7, 7, 7, {}},
      {3, 4, 3, 1, {{3, 4}, {3, 3}, {3, 2}}},
      {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
      {3, 0, 0, 3, {{3, 0}, {2, 1}, {1, 2}}},
      // Halfway between two rows the upper pixel is lit, either way round.
      {0, 0, 4, 1, {{0, 0}, {1, 0}, {2, 0}, {3, 1}}},
      {4, 1, 0, 0, {{4, 1}, {3, 1}, {2, 0}, {1, 0}}},
      // Halfway between two columns the left one is lit.
      {0, 0, 1, 4, {{0, 0}, {0, 1}, {0, 2}, {1, 3}}},
      // Clipped at every edge of the surface.
      {INT_MIN, 10, INT_MAX, 10, {}, 640}, {INT_MAX, 10, INT_MIN, 10, {}, 640},
      {5, INT_MIN, 5, INT_MAX, {}, 480}, {-10, 500, 700, 500, {}},
      {-1000, -1000, 1000, 1000, {}, 480}, {1000, 1000, -1000, -1000, {}, 480},
      {INT_MIN, INT_MIN, INT_MAX, INT_MIN + 7, {}},
      // clang-format on
  };
  red_pen_green_brush();
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    clear();
    Point previous{-1, -1};
    ASSERT_EQ(gdi.MoveToEx(dc, c.x0, c.y0, &previous), kTrue);
    EXPECT_EQ(gdi.LineTo(dc, c.x1, c.y1), kTrue);
    const std::set<Pixel> red = pixels_of(kRed);
    EXPECT_EQ(red.size(), c.clipped ? c.clipped : c.lit.size());
    EXPECT_EQ(c.clipped ? c.lit : red, c.lit);
    // The line ends where the next one starts.
    ASSERT_EQ(gdi.MoveToEx(dc, 0, 0, &previous), kTrue);
    EXPECT_EQ(std::pair(previous.x, previous.y), std::pair(c.x1, c.y1));
  }
}

// The surface is the window's client at whatever size it was placed: drawing
// is clipped to it and its picture file has that size.
TEST_F(SoftGdiTest, AWindowOfAnySizeDrawsClipsAndIsWrittenAtItsSize) {
  red_pen_green_brush();
  const TestDib picture =
      make_dib(900, 700, [](int x, int r) { return (x + 699 - r) & 0xFF; });
  const std::string path = ::testing::TempDir() + "/soft_gdi_size.png";
  std::vector<std::uint32_t> read;
  int read_width = 0, read_height = 0;
  for (const auto& [w, h] : {std::pair{800, 600}, {320, 200}, {100, 50}}) {
    SCOPED_TRACE(w);
    surface.resize(w, h);
    clear();
    // A rectangle over the top-left edges, a picture over the bottom-right.
    EXPECT_EQ(gdi.Rectangle(dc, -5, -5, w / 2, h / 2), kTrue);
    EXPECT_EQ(blit(picture, w / 2, h / 2, 900, 700), 700);
    ASSERT_EQ(surface.pixels.size(), static_cast<std::size_t>(w * h));
    EXPECT_TRUE(shows([w = w, h = h](int x, int y) {
      const bool left = x < w / 2, top = y < h / 2;
      const std::uint32_t rect =
          x == w / 2 - 1 || y == h / 2 - 1 ? kRed : kGreen;
      const auto shown = static_cast<int>((x - w / 2 + y - h / 2) & 0xFF);
      return left && top ? rect : !left && !top ? table_rgb(shown) : kUntouched;
    }));
    // The picture file holds exactly these pixels at this size.
    ASSERT_TRUE(write_png(path, surface));
    ASSERT_TRUE(read_png(path, read, read_width, read_height));
    EXPECT_EQ(std::pair(read_width, read_height), std::pair(w, h));
    EXPECT_EQ(read, surface.pixels);
    // Placed smaller and larger again: the top-left is kept, the rest black.
    const Surface before = surface;
    surface.resize(w / 4, h / 4);
    surface.resize(w, h);
    EXPECT_TRUE(shows([&, w = w, h = h](int x, int y) {
      return x < w / 4 && y < h / 4 ? before.at(x, y) : 0u;
    }));
  }
  std::filesystem::remove(path);
  EXPECT_FALSE(write_png(path + ".d/no_such_dir.png", surface));
  EXPECT_FALSE(write_png(path, Surface{}));  // a window not yet placed
  // Both sides held in range.
  EXPECT_EQ(Surface(1 << 30, -1).pixels.size(), 0u);
  // The headless display pictures a window without a size as a black screen.
  ASSERT_TRUE(Presenter::write_shown(path, nullptr));
  ASSERT_TRUE(read_png(path, read, read_width, read_height));
  EXPECT_EQ(std::pair(read_width, read_height), std::pair(640, 480));
  EXPECT_EQ(read, std::vector<std::uint32_t>(640 * 480, 0));
  std::filesystem::remove(path);
}

TEST_F(SoftGdiTest, DibOrientationDecidesWhichStoredRowIsShownWhere) {
  // The stored row that lands on the top dest row, and the change of stored
  // row per dest row downwards.
  struct Case {
    int bi_height, y_src, top_stored_row, step;
  } const cases[] = {
      {3, 0, 2, -1},  // bottom-up: stored row 0 at the bottom
      {-3, 0, 0, 1},  // top-down: stored row 0 at the top
      {6, 1, 3, -1},  // source y counts from the first stored row
      {6, 3, 5, -1}, {-6, 1, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    clear();
    const TestDib dib =
        make_dib(4, c.bi_height, [](int x, int r) { return r * 4 + x; });
    EXPECT_EQ(blit(dib, 10, 20, 4, 3, 0, c.y_src, 4, 3), 3);
    EXPECT_TRUE(shows([&c](int x, int y) {
      const int row = c.top_stored_row + c.step * (y - 20);  // stored row shown
      const bool in = x >= 10 && x < 14 && y >= 20 && y < 23;
      return in ? table_rgb(row * 4 + x - 10) : kUntouched;
    }));
    EXPECT_TRUE(surface.changed);
  }
}

TEST_F(SoftGdiTest, StretchTakesTheNearestSourcePixel) {
  // Index from the shown position, so expectations read top-down.
  const auto shown_index = [](int x, int y) { return (x * 3 + y * 5) & 0xFF; };
  const TestDib dib = make_dib(
      640, 480, [&](int x, int row) { return shown_index(x, 479 - row); });
  struct Case {
    int src_width, src_height, src_x, src_y;
  } const cases[] = {
      {320, 240, 0, 0},    // doubles every pixel
      {280, 210, 0, 270},  // the deepest zoom: the top-left of the picture
      {600, 450, 0, 30},   // the first zoom step: most pixels once, some twice
      {640, 480, 0, 0},    // one to one
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    EXPECT_EQ(
        blit(dib, 0, 0, 640, 480, c.src_x, c.src_y, c.src_width, c.src_height),
        c.src_height);
    const int top = 480 - (c.src_y + c.src_height);  // top shown source row
    // The source pixel under the centre of each destination pixel, as
    // Windows' GDI draws it.
    EXPECT_TRUE(shows([&](int x, int y) {
      return table_rgb(shown_index(c.src_x + (2 * x + 1) * c.src_width / 1280,
                                   top + (2 * y + 1) * c.src_height / 960));
    }));
  }
}

TEST_F(SoftGdiTest, BlitIsClippedToSurfaceAndBitmap) {
  const TestDib dib =
      make_dib(640, 480, [](int x, int r) { return (x + r) & 0xFF; });
  const auto shown = [](int x, int y) {
    return table_rgb((x + 479 - y) & 0xFF);
  };
  // Off the top-left: dest (0, 0) shows picture pixel (10, 10).
  EXPECT_EQ(blit(dib, -10, -10, 640, 480), 480);
  EXPECT_TRUE(shows([&](int x, int y) {
    return x < 630 && y < 470 ? shown(x + 10, y + 10) : kUntouched;
  }));
  // Far away in every direction: nothing drawn, nothing read.
  clear();
  EXPECT_EQ(blit(dib, INT_MAX - 5, 0, 640, 480), 480);
  EXPECT_EQ(blit(dib, INT_MIN, INT_MIN, 640, 480), 480);
  EXPECT_EQ(blit(dib, 0, 480, 640, 480), 480);
  EXPECT_EQ(blit(dib, 0, 0, INT_MIN, INT_MIN), 480);
  EXPECT_TRUE(untouched());
  EXPECT_FALSE(surface.changed);
  // A source rectangle reaching past the bitmap leaves those pixels alone
  // and counts only the rows that exist.
  EXPECT_EQ(blit(dib, 0, 0, 640, 480, -10, -20), 460);
  EXPECT_TRUE(shows([&](int x, int y) {
    return x >= 10 && y < 460 ? shown(x - 10, y + 20) : kUntouched;
  }));
  EXPECT_EQ(blit(dib, 0, 0, 640, 480, INT_MAX, INT_MAX, INT_MAX, INT_MAX), 0);
  EXPECT_EQ(blit(dib, 0, 0, 640, 480, INT_MIN, INT_MIN), 0);
}

TEST_F(SoftGdiTest,
       ColoursComeFromTheDibColourTableAndUnsupportedBlitsCopyNothing) {
  TestDib three = make_dib(
      4, 1, [](int x, int) { return x == 3 ? 200 : x; }, 3);
  const std::uint8_t quad[] = {0x11, 0x22, 0x33, 0x99};  // b, g, r, ignored
  std::memcpy(three.info.data() + 40 + 4, quad, sizeof quad);
  EXPECT_EQ(blit(three, 0, 0, 4, 1), 1);
  // Past a three-entry table: black.
  EXPECT_TRUE(shows([](int x, int y) {
    return y > 0 || x > 3 ? kUntouched
           : x == 1       ? 0x332211u
           : x == 3       ? 0u
                          : table_rgb(x);
  }));
  clear();
  const TestDib good = make_dib(4, 4, [](int, int) { return 1; });
  using H = BitmapInfoHeader&;
  const struct {
    std::function<void(H)> change;
    Uint usage = DIB_RGB_COLORS;
    Dword rop = SRCCOPY;
    bool no_bits = false, no_info = false;
  } cases[] = {
      // clang-format off
      {[](H h) { h.biBitCount = 24; }}, {[](H h) { h.biCompression = 1; }},
      {[](H h) { h.biWidth = 0; }}, {[](H h) { h.biHeight = 0; }},
      {[](H h) { h.biSize = 12; }}, {[](H h) { h.biClrUsed = 257; }},
      {[](H) {}, 1}, {[](H) {}, DIB_RGB_COLORS, 0x00EE0086},
      {[](H) {}, DIB_RGB_COLORS, SRCCOPY, true},
      {[](H) {}, DIB_RGB_COLORS, SRCCOPY, false, true},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    TestDib dib = good;
    c.change(*reinterpret_cast<BitmapInfoHeader*>(dib.info.data()));
    EXPECT_EQ(gdi.StretchDIBits(dc, 0, 0, 4, 4, 0, 0, 4, 4,
                                c.no_bits ? nullptr : dib.bits.data(),
                                c.no_info ? nullptr : dib.info.data(), c.usage,
                                c.rop),
              0);
  }
  EXPECT_TRUE(untouched());
  // A zero-sized blit draws nothing but is no failure.
  EXPECT_EQ(blit(good, 0, 0, 4, 4, 0, 0, 4, 0), 0);
}

TEST_F(SoftGdiTest, FreshContextHasGdiDefaults) {
  EXPECT_EQ(gdi.SetBkMode(dc, 7), 0);  // no such mode
  EXPECT_EQ(gdi.SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(gdi.SetTextColor(dc, kRedRef), 0u);
  EXPECT_EQ(gdi.TextOutA(dc, 0, 0, "abc", -1), kFalse);
  EXPECT_EQ(gdi.TextOutA(dc, 0, 0, nullptr, 3), kFalse);
  EXPECT_EQ(gdi.GetDeviceCaps(dc, BITSPIXEL), 32);
  EXPECT_EQ(gdi.GetDeviceCaps(dc, 88), 0);
  // Black one-pixel pen, white brush.
  EXPECT_EQ(gdi.Rectangle(dc, 0, 0, 3, 3), kTrue);
  EXPECT_EQ(std::pair(surface.at(0, 0), surface.at(1, 1)),
            std::pair(0u, 0xFFFFFFu));
}

TEST_F(SoftGdiTest, ObjectsOutliveContextsButNotTheirDeletion) {
  EXPECT_EQ(gdi.DeleteObject(nullptr), kFalse);
  EXPECT_EQ(gdi.DeleteObject(reinterpret_cast<Hgdiobj>(dc)), kFalse);
  const Hdc screen = gdi.open_dc(nullptr);  // accepts every call, draws nothing
  const Hpen red = gdi.CreatePen(PS_SOLID, 1, kRedRef);
  const Hpen stock_pen = gdi.SelectObject(dc, red);
  ASSERT_NE(gdi.SelectObject(screen, red), nullptr);
  EXPECT_EQ(gdi.Rectangle(screen, 0, 0, 10, 10), kTrue);
  EXPECT_TRUE(untouched());
  EXPECT_EQ(gdi.DeleteObject(red), kFalse);  // still selected
  EXPECT_EQ(gdi.SelectObject(dc, stock_pen), red);
  EXPECT_EQ(gdi.DeleteObject(stock_pen), kTrue);  // stock objects survive it
  EXPECT_EQ(gdi.SelectObject(dc, stock_pen), stock_pen);
  EXPECT_EQ(gdi.DeleteObject(red), kFalse);  // the screen context holds it
  gdi.close_dc(screen);
  EXPECT_FALSE(gdi.is_dc(screen));
  EXPECT_EQ(gdi.Rectangle(screen, 0, 0, 5, 5), kFalse);
  EXPECT_EQ(gdi.SetTextColor(screen, 0), CLR_INVALID);
  EXPECT_EQ(gdi.RealizePalette(screen), GDI_ERROR);
  // An object handle is no context, and a context no object.
  EXPECT_EQ(gdi.Rectangle(reinterpret_cast<Hdc>(red), 0, 0, 5, 5), kFalse);
  EXPECT_EQ(gdi.SelectObject(dc, reinterpret_cast<Hgdiobj>(dc)), nullptr);
  EXPECT_EQ(gdi.DeleteObject(red), kTrue);
  EXPECT_EQ(gdi.DeleteObject(red), kFalse);  // gone
  // Closing a context lets go of what it held.
  const Hbrush brush = gdi.CreateSolidBrush(0);
  ASSERT_NE(gdi.SelectObject(dc, brush), nullptr);
  gdi.close_dc(dc);
  EXPECT_EQ(gdi.DeleteObject(brush), kTrue);
  EXPECT_EQ(gdi.live_objects(), 0u);
}

TEST_F(SoftGdiTest, InjectedFaultsReturnEachCallsFailureValue) {
  const TestDib dib = make_dib(4, 4, [](int, int) { return 3; });
  const LogPalette one{0x300, 1, {{1, 2, 3, 0}}};
  const Hpen red = gdi.CreatePen(PS_SOLID, 1, kRedRef);
  const Hpalette pal = gdi.CreatePalette(&one);
  const LogFontA lf{};
  const auto h = [](const void* p) {
    return reinterpret_cast<std::intptr_t>(p);
  };
  const struct {
    const char* name;
    std::function<std::int64_t()> call;
    std::int64_t failure = 0;
  } cases[] = {
      // clang-format off
      {"CreatePalette", [&] { return h(gdi.CreatePalette(&one)); }},
      {"SelectPalette", [&] { return h(gdi.SelectPalette(dc, pal, 0)); }},
      {"RealizePalette", [&] { return gdi.RealizePalette(dc); }, GDI_ERROR},
      {"DeleteObject", [&] { return gdi.DeleteObject(red); }},
      {"StretchDIBits", [&] { return blit(dib, 0, 0, 4, 4); }, GDI_ERROR_INT},
      {"CreateFontIndirectA", [&] { return h(gdi.CreateFontIndirectA(&lf)); }},
      {"SelectObject", [&] { return h(gdi.SelectObject(dc, red)); }},
      {"SetBkMode", [&] { return gdi.SetBkMode(dc, TRANSPARENT); }},
      {"SetTextColor", [&] { return gdi.SetTextColor(dc, 0); }, CLR_INVALID},
      {"TextOutA", [&] { return gdi.TextOutA(dc, 0, 0, "a", 1); }},
      {"CreatePen", [&] { return h(gdi.CreatePen(PS_SOLID, 1, 0)); }},
      {"CreateSolidBrush", [&] { return h(gdi.CreateSolidBrush(0)); }},
      {"Rectangle", [&] { return gdi.Rectangle(dc, 0, 0, 9, 9); }},
      {"MoveToEx", [&] { return gdi.MoveToEx(dc, 5, 5, nullptr); }},
      {"LineTo", [&] { return gdi.LineTo(dc, 9, 0); }},
      {"GetDeviceCaps", [&] { return gdi.GetDeviceCaps(dc, HORZRES); }},
      // clang-format on
  };
  const std::size_t objects = gdi.live_objects();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    faults.fail_always(c.name);
    const std::uint64_t calls = faults.calls(c.name);
    EXPECT_EQ(c.call(), c.failure);
    EXPECT_EQ(faults.calls(c.name), calls + 1);
  }
  // Nothing was made, deleted, selected or drawn.
  EXPECT_EQ(gdi.live_objects(), objects);
  EXPECT_TRUE(untouched());
  EXPECT_FALSE(surface.changed);
}

}  // namespace
}  // namespace mowa::pf
