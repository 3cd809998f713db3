// The MCI command parser on any string. A command it accepts names a device
// with no blank in its name (and, for open, a file), and written out again
// in its plainest form it reads back the same; aliases match themselves
// whatever their letter case, and either way round.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "platform/common/mci_command.h"

namespace {

using mowa::fuzz::require;
using mowa::pf::MciCommand;

std::string written_out(const MciCommand& c) {
  std::string text;
  switch (c.verb) {
    case MciCommand::Verb::kOpen:
      // The alias last: an alias may itself be the word "type".
      text = "open \"" + c.path + "\" type sequencer" +
             (c.notify ? " notify" : "") + " alias " + c.alias;
      return text;
    case MciCommand::Verb::kPlay:
      text = "play " + c.alias;
      break;
    case MciCommand::Verb::kClose:
      text = "close " + c.alias;
      break;
  }
  return c.notify ? text + " notify" : text;
}

bool same(const MciCommand& a, const MciCommand& b) {
  return a.verb == b.verb && a.path == b.path && a.alias == b.alias &&
         a.notify == b.notify;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  MciCommand command;
  if (mowa::pf::parse_mci_command(text, command) == 0) {
    require(!command.alias.empty(), "a command that names no device");
    require(command.alias.find_first_of(" \t") == std::string::npos,
            "a blank in an alias");
    require(command.verb != MciCommand::Verb::kOpen || !command.path.empty(),
            "an open with no file");
    MciCommand again;
    require(mowa::pf::parse_mci_command(written_out(command), again) == 0 &&
                same(command, again),
            "a command written out reads back otherwise");
  }
  const std::size_t half = size / 2;
  const std::string_view a = text.substr(0, half), b = text.substr(half);
  std::string upper(a);
  for (char& c : upper)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  require(mowa::pf::same_alias(a, upper) && mowa::pf::same_alias(upper, a),
          "an alias unlike itself in capitals");
  require(mowa::pf::same_alias(a, b) == mowa::pf::same_alias(b, a),
          "aliases matched one way round only");
  return 0;
}
