#include "scenario_conversion.h"

#include "base/cp932.h"

namespace mowa::demo {

bool scenario_to_cp932(std::string_view utf8, std::string& cp932,
                       std::string& error) {
  cp932.clear();
  std::size_t start = 0;
  for (int line = 1; start < utf8.size(); ++line) {
    std::size_t end = utf8.find('\n', start);
    end = end == std::string_view::npos ? utf8.size() : end + 1;
    const std::string_view text = utf8.substr(start, end - start);
    const std::string converted = base::utf8_to_cp932(text);
    // A character that has no code is written as '?': the way back shows it.
    if (base::cp932_to_utf8(converted) != text) {
      error = "line " + std::to_string(line) +
              " holds a character that code page 932 does not have";
      return false;
    }
    cp932 += converted;
    start = end;
  }
  return true;
}

}  // namespace mowa::demo
