#include "platform/headless/input_script.h"

#include <charconv>
#include <sstream>

namespace mowa::pf {
namespace {

bool parse_int(const std::string& word, long long lo, long long hi,
               long long& value) {
  const char* end = word.data() + word.size();
  const auto [p, ec] = std::from_chars(word.data(), end, value);
  return ec == std::errc() && p == end && value >= lo && value <= hi;
}

}  // namespace

bool parse_input_script(std::string_view text, std::vector<InputEvent>& out,
                        std::string& error) {
  static constexpr struct {
    const char* name;
    InputEvent::Kind kind;
    int args;
  } kWords[] = {
      {"move", InputEvent::Kind::kMove, 2},
      {"ldown", InputEvent::Kind::kLeftDown, 0},
      {"lup", InputEvent::Kind::kLeftUp, 0},
      {"ldbl", InputEvent::Kind::kLeftDouble, 0},
      {"rdown", InputEvent::Kind::kRightDown, 0},
      {"rup", InputEvent::Kind::kRightUp, 0},
      {"rdbl", InputEvent::Kind::kRightDouble, 0},
      {"key", InputEvent::Kind::kKey, 1},
      {"close", InputEvent::Kind::kClose, 0},
  };
  std::istringstream in{std::string(text)};
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string s; words >> s;) w.push_back(s);
    if (w.empty() || w[0][0] == '#') continue;
    auto fail = [&](const std::string& why) {
      error = "input line " + std::to_string(number) + ": " + why;
      return false;
    };
    InputEvent ev;
    long long value = 0;
    if (!parse_int(w[0], 0, INT64_MAX, value))
      return fail("expected a step number, got '" + w[0] + "'");
    ev.step = static_cast<std::uint64_t>(value);
    if (w.size() < 2) return fail("missing event");
    bool known = false;
    for (const auto& word : kWords) {
      if (w[1] != word.name) continue;
      known = true;
      ev.kind = word.kind;
      if (static_cast<int>(w.size()) != 2 + word.args)
        return fail("'" + w[1] + "' takes " + std::to_string(word.args) +
                    " argument(s)");
      if (ev.kind == InputEvent::Kind::kMove) {
        long long x = 0, y = 0;
        if (!parse_int(w[2], 0, 65535, x) || !parse_int(w[3], 0, 65535, y))
          return fail("move takes X and Y from 0 to 65535");
        ev.x = static_cast<int>(x);
        ev.y = static_cast<int>(y);
      } else if (ev.kind == InputEvent::Kind::kKey) {
        long long vk = 0;
        if (!parse_int(w[2], 0, 255, vk))
          return fail("key takes a virtual-key code from 0 to 255");
        ev.key = static_cast<int>(vk);
      }
    }
    if (!known) return fail("unknown event '" + w[1] + "'");
    out.push_back(ev);
  }
  return true;
}

}  // namespace mowa::pf
