// One step of the scenario: read one statement and carry it out.
#pragma once

#include "engine/commands.h"
#include "engine/script.h"

namespace mowa::engine {

// Returns 1 when the run ends (after `end`, at the end of the file, when the
// scenario file cannot be opened, or after a jump to a missing label), else 0.
int script_read(Script& sc, CommandSink& sink);

// The next value of the `rand` generator, 0 to 32767.
std::int32_t next_random(Script& s);
void seed_random(Script& s, std::uint32_t seed);

}  // namespace mowa::engine
