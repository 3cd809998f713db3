// The demo's sound effects and its tune, synthesised and composed here.
#pragma once

#include <cstdint>
#include <vector>

#include "midi_file.h"

namespace mowa::demo {

inline constexpr std::uint32_t kSampleRateHz = 22050;

std::vector<double> pop_sound();       // a short rising blip for each click
std::vector<double> dice_sound();      // dice rattling on a table
std::vector<double> chime_sound();     // three bell notes
std::vector<double> crickets_sound();  // two seconds of crickets that loop

// Four bars of music box over a broken-chord accompaniment, made to loop.
Sequence theme_tune();

}  // namespace mowa::demo
