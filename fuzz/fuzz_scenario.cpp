// The scenario file itself, run for a bounded number of steps beside a
// picture, a sprite, a save file and sounds that its statements may name.
#include <cstddef>
#include <cstdint>
#include <string>

#include "../tests/support/bmp_writer.h"
#include "../tests/support/midi_writer.h"
#include "fuzz_program.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace mowa::fuzz;
  static const bool staged = [] {
    enter_scratch_folder();
    put_file("p.bmp", mowa::test::block_picture().file());
    put_file("s.bmp", mowa::test::sprite(16, 8, [](int x, int y) {
                        return static_cast<std::uint8_t>(x * y);
                      }).file());
    put_file("m.mid", mowa::test::one_note_midi(300, 50));
    return true;
  }();
  (void)staged;
  put_file("data/mowa.snr", {reinterpret_cast<const char*>(data), size});
  run_program(400);
  return 0;
}
