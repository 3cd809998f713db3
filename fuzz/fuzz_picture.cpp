// A picture through gload in each of its modes, and a copy from what it
// left in the back image. The input is the picture's position, the length
// of its file and the file's first bytes; the file goes on to that length
// with a fixed pattern of pixels, so that whole 640x480 pictures stay small
// inputs. (The fades are left to the scenario target: a fade redraws the
// window some twenty times.)
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_program.h"

namespace {

constexpr std::uint32_t kMaxFileBytes = 1u << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace mowa::fuzz;
  enter_scratch_folder();
  Input in(data, size);
  const std::int32_t x = in.take_int(2);
  const std::int32_t y = in.take_int(2);
  const auto declared = static_cast<std::uint32_t>(in.take_int(3)) & 0xFFFFFFu;
  std::string file(in.rest());
  const std::uint32_t length =
      declared < kMaxFileBytes ? declared : kMaxFileBytes;
  for (std::uint32_t i = static_cast<std::uint32_t>(file.size()); i < length;
       ++i)
    file += static_cast<char>((i * 7) >> 5);
  put_file("p.bmp", file);
  const std::string at = std::to_string(x) + "," + std::to_string(y) + ",";
  put_file("data/mowa.snr", "gload\"p.bmp," + at +
                                "0\"\n"
                                "gload\"p.bmp," +
                                at +
                                "1\"\n"
                                "gload\"p.bmp," +
                                at +
                                "2\"\n"
                                "screen_copy\"0,0,639,479,0,0\"\n"
                                "gload\"p.bmp," +
                                at +
                                "3\"\n"
                                "end\n");
  run_program(100);
  return 0;
}
