// gdi_probe.exe PICTURE.bmp FOLDER: draws the zoom's source rectangles of an
// 8-bit 640x480 picture with the system's StretchDIBits, as the program's
// paint does, and writes each frame as FOLDER\zoom-WIDTH.rgb (640x480, 8-bit
// RGB, top row first), so that Windows' pixels can be set beside the
// software GDI's.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: gdi_probe PICTURE.bmp FOLDER\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<unsigned char> file{std::istreambuf_iterator<char>(in), {}};
  constexpr std::size_t kInfo = 14, kPixels = 14 + 40 + 1024;
  if (file.size() < kPixels + 640 * 480) return 1;

  BITMAPINFO target{};
  target.bmiHeader = {
      sizeof target.bmiHeader, 640, -480, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HDC dc = CreateCompatibleDC(nullptr);
  const HBITMAP picture =
      CreateDIBSection(dc, &target, DIB_RGB_COLORS, &bits, nullptr, 0);
  SelectObject(dc, picture);
  for (int k = 0; k < 10; ++k) {
    const int width = 640 - 40 * k, height = 480 - 30 * k;
    StretchDIBits(dc, 0, 0, 640, 480, 0, 30 * k, width, height,
                  file.data() + kPixels,
                  reinterpret_cast<const BITMAPINFO*>(file.data() + kInfo),
                  DIB_RGB_COLORS, SRCCOPY);
    GdiFlush();
    const std::string name =
        std::string(argv[2]) + "\\zoom-" + std::to_string(width) + ".rgb";
    std::FILE* out = std::fopen(name.c_str(), "wb");
    if (!out) return 1;
    const auto* p = static_cast<const unsigned char*>(bits);
    for (int i = 0; i < 640 * 480; ++i) {
      const unsigned char rgb[3] = {p[4 * i + 2], p[4 * i + 1], p[4 * i]};
      std::fwrite(rgb, 1, 3, out);
    }
    std::fclose(out);
  }
  return 0;
}
