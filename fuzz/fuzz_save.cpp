// save.dat through load, then save. A file of at least 400 bytes is taken
// whole: saving writes back its first 400; a shorter one changes nothing, so
// the bank saved is all zero. Anything else aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz_program.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace mowa::fuzz;
  enter_scratch_folder();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  put_file("data/save.dat", bytes);
  put_file("data/mowa.snr", "load\ncheck\"@00\"\ncheck\"@99\"\nsave\nend\n");
  run_program(100);
  std::ifstream saved(scratch_path("data/save.dat"), std::ios::binary);
  const std::string after{std::istreambuf_iterator<char>(saved), {}};
  const std::string expected =
      size >= 400 ? bytes.substr(0, 400) : std::string(400, '\0');
  if (after != expected) std::abort();
  return 0;
}
