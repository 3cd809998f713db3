// A MIDI file through play_midi and the MCI layer: played, let loop while
// virtual time passes, opened again while it plays, and stopped.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_program.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace mowa::fuzz;
  enter_scratch_folder();
  put_file("m.mid", {reinterpret_cast<const char*>(data), size});
  put_file("data/mowa.snr",
           "play_midi\".\\m.mid\"\n"
           "wait\"2500\"\n"
           "play_midi\".\\m.mid\"\n"
           "wait\"600000\"\n"
           "stop_midi\n"
           "stop_midi\n"
           "end\n");
  run_program(100);
  return 0;
}
