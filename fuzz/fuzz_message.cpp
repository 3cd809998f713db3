// A message text through message and message_out, and the same text through
// text_write at a fuzzed place, size, colour and opacity. The input is those
// five numbers, then the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_program.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace mowa::fuzz;
  enter_scratch_folder();
  Input in(data, size);
  std::string numbers;
  for (const int bytes : {2, 2, 1, 4, 1})
    numbers += "," + std::to_string(in.take_int(bytes));
  // A line holds 255 bytes; the statement's own words take some.
  const std::string text = one_line(in.rest(), 200);
  put_file("data/mowa.snr", "message\"" + text +
                                "\"\n"
                                "message_out\n"
                                "message\"" +
                                text +
                                "\n"
                                "text_write\"" +
                                text + numbers +
                                "\"\n"
                                "message_out\n"
                                "end\n");
  run_program(100);
  return 0;
}
