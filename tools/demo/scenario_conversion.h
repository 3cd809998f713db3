// Scenarios are kept in UTF-8 and read by the program in code page 932.
#pragma once

#include <string>
#include <string_view>

namespace mowa::demo {

// The code page 932 bytes of `utf8`, or false with `error` naming the first
// line that holds a character code page 932 lacks.
bool scenario_to_cp932(std::string_view utf8, std::string& cp932,
                       std::string& error);

}  // namespace mowa::demo
