#include "platform/softgdi/png_io.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
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

TEST_F(PngIoTest, AnUnwritablePathIsAFailure) {
  EXPECT_FALSE(write_png(path_for("no_such_dir/frame.png"), Surface{}));
}

}  // namespace
}  // namespace mowa::pf
