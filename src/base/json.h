// JSON text as the event log, the checker's findings and the trace write it.
#pragma once

#include <string>
#include <string_view>

namespace mowa::base {

// `utf8` as one JSON string, quotes included: quote, backslash and the
// control characters escaped, every other byte as it is.
std::string json_escape(std::string_view utf8);

}  // namespace mowa::base
