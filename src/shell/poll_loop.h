// Whether the scenario only polls the mouse. A scenario waiting for a click
// runs a loop of statements that read the mouse, compare and jump. When such
// a read comes round again and finds the mouse, the variables and the return
// slot as at its previous run, with nothing but reads, comparisons, jumps and
// arithmetic in between, every further turn would repeat the last one until
// input arrives: the main loop may sleep until then. Two reads that merely
// follow each other (the position right after the buttons) are not a loop.
#pragma once

#include <array>
#include <cstdint>
#include <map>

#include "engine/script.h"
#include "shell/shell.h"

namespace mowa::shell {

// What a mouse read saw, with everything that decides what follows it.
struct PollVisit {
  Mouse mouse;
  std::int32_t return_slot = 0;
  // Statements with effects, boxes and trace lines so far.
  std::uint64_t effects = 0;
  std::array<std::int32_t, engine::kVariableCount> variables{};
  bool operator==(const PollVisit&) const = default;
};

class PollLoop {
 public:
  // After a statement that read the mouse; `after` is the script pointer
  // past it, which names the statement whichever way it was reached. True
  // when that statement's previous run saw the same.
  bool came_round(std::int32_t after, const PollVisit& now);

 private:
  std::map<std::int32_t, PollVisit> visits_;
};

}  // namespace mowa::shell
