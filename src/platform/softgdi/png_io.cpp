#include "platform/softgdi/png_io.h"

#include <png.h>

#include <cstddef>
#include <utility>

namespace mowa::pf {
namespace {

// Refuses pictures whose pixels alone would take more than 256 MiB: no
// picture of this program comes near, and a damaged header must not make the
// reader allocate without bound.
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 26;

}  // namespace

bool write_png(const std::string& path, const Surface& surface) {
  const auto pixel_count = static_cast<std::size_t>(surface.width()) *
                           static_cast<std::size_t>(surface.height());
  if (pixel_count == 0 || surface.pixels.size() < pixel_count) return false;
  std::vector<std::uint8_t> rgb(pixel_count * 3);
  for (std::size_t i = 0; i < pixel_count; ++i) {
    const std::uint32_t p = surface.pixels[i];
    rgb[3 * i] = static_cast<std::uint8_t>(p >> 16);
    rgb[3 * i + 1] = static_cast<std::uint8_t>(p >> 8);
    rgb[3 * i + 2] = static_cast<std::uint8_t>(p);
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(surface.width());
  image.height = static_cast<png_uint_32>(surface.height());
  image.format = PNG_FORMAT_RGB;
  const int ok =
      png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr);
  png_image_free(&image);
  return ok != 0;
}

bool read_png(const std::string& path, std::vector<std::uint32_t>& pixels_rgb,
              int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return false;
  const std::uint64_t count = std::uint64_t{image.width} * image.height;
  if (count == 0 || count > kMaxPixels) {
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr) == 0) {
    png_image_free(&image);
    return false;
  }
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = (std::uint32_t{rgba[4 * i]} << 16) |
                (std::uint32_t{rgba[4 * i + 1]} << 8) | rgba[4 * i + 2];
  pixels_rgb = std::move(pixels);
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  return true;
}

}  // namespace mowa::pf
