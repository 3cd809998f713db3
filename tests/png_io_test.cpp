#include "platform/softgdi/png_io.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace mowa::pf {
namespace {

class PngIoTest : public ::testing::Test {
 protected:
  std::string path_for(const std::string& name) const {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return (std::filesystem::path(::testing::TempDir()) /
            (std::string("png_io_") + info->name() + "_" + name))
        .string();
  }
};

TEST_F(PngIoTest, FramebufferRoundTripsExactly) {
  Surface surface;
  surface.width = 320;  // the whole framebuffer is written regardless
  surface.height = 200;
  for (std::size_t i = 0; i < surface.pixels.size(); ++i)
    surface.pixels[i] =
        static_cast<std::uint32_t>((i * 2654435761u) & 0xFFFFFF);
  const std::string path = path_for("frame.png");
  ASSERT_TRUE(write_png(path, surface));

  std::vector<std::uint32_t> pixels;
  int width = 0;
  int height = 0;
  ASSERT_TRUE(read_png(path, pixels, width, height));
  EXPECT_EQ(width, Surface::kMaxWidth);
  EXPECT_EQ(height, Surface::kMaxHeight);
  EXPECT_EQ(pixels, surface.pixels);
  std::filesystem::remove(path);
}

TEST_F(PngIoTest, AlphaIsDroppedOnRead) {
  // Two pixels, the second half transparent: its colour still counts.
  const std::uint8_t rgba[] = {0x10, 0x20, 0x30, 0xFF, 0xA0, 0xB0, 0xC0, 0x80};
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 2;
  image.height = 1;
  image.format = PNG_FORMAT_RGBA;
  const std::string path = path_for("alpha.png");
  ASSERT_NE(png_image_write_to_file(&image, path.c_str(), 0, rgba, 0, nullptr),
            0);

  std::vector<std::uint32_t> pixels;
  int width = 0;
  int height = 0;
  ASSERT_TRUE(read_png(path, pixels, width, height));
  EXPECT_EQ(width, 2);
  EXPECT_EQ(height, 1);
  EXPECT_EQ(pixels, (std::vector<std::uint32_t>{0x102030, 0xA0B0C0}));
  std::filesystem::remove(path);
}

TEST_F(PngIoTest, FailuresLeaveOutputsAlone) {
  const std::string text = path_for("not_a.png");
  std::ofstream(text) << "this is no picture\n";
  std::vector<std::uint32_t> pixels{7};
  int width = 3;
  int height = 4;
  EXPECT_FALSE(read_png(text, pixels, width, height));
  EXPECT_FALSE(read_png(path_for("missing.png"), pixels, width, height));
  EXPECT_EQ(pixels, std::vector<std::uint32_t>{7});
  EXPECT_EQ(width, 3);
  EXPECT_EQ(height, 4);
  std::filesystem::remove(text);

  EXPECT_FALSE(write_png(path_for("no_such_dir/frame.png"), Surface{}));
}

}  // namespace
}  // namespace mowa::pf
