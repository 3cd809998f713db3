// Scripted input for the headless backend: "STEP EVENT [ARGS]" a line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace mowa::pf {

struct InputEvent {
  std::uint64_t step = 0;  // queued once this many idle steps have completed
  enum class Kind {
    kMove,
    kLeftDown,
    kLeftUp,
    kLeftDouble,
    kRightDown,
    kRightUp,
    kRightDouble,
    kKey,
    kClose
  } kind = Kind::kMove;
  int x = 0;
  int y = 0;
  int key = 0;
};

// Blank lines and lines starting with '#' are skipped. On a malformed line,
// returns false with `error` naming its line number.
bool parse_input_script(std::string_view text, std::vector<InputEvent>& out,
                        std::string& error);

}  // namespace mowa::pf
