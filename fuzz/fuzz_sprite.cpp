// A sprite through character over a picture, at a fuzzed position with a
// fuzzed opacity and fifth argument. The input is those four numbers, then
// the sprite file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "../tests/support/bmp_writer.h"
#include "fuzz_program.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace mowa::fuzz;
  static const bool staged = [] {
    enter_scratch_folder();
    put_file("bg.bmp", mowa::test::block_picture().file());
    return true;
  }();
  (void)staged;
  Input in(data, size);
  std::string numbers;
  for (int i = 0; i < 4; ++i)
    numbers += "," + std::to_string(in.take_int(i < 2 ? 4 : 1));
  put_file("s.bmp", std::string(in.rest()));
  put_file("data/mowa.snr",
           "gload\"bg.bmp,0,0,0\"\n"
           "character\"s.bmp" +
               numbers +
               "\"\n"
               "end\n");
  run_program(100);
  return 0;
}
