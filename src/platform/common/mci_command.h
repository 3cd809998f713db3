// The MCI command strings that the sequencer understands:
//   open PATH type sequencer alias NAME [notify]
//   play NAME [notify]
//   close NAME [notify]
// Command words and keywords are matched ignoring letter case.
#pragma once

#include <string>
#include <string_view>

#include "platform/types.h"

namespace mowa::pf {

struct MciCommand {
  enum class Verb { kOpen, kPlay, kClose };
  Verb verb = Verb::kOpen;
  // The file of an open, code page 932 as written, without enclosing quotes.
  // It runs from after "open " to the last " type ", so it may hold spaces.
  std::string path;
  // The alias: the name given after "alias" in an open, the device named by
  // play and close. Kept as written.
  std::string alias;
  bool notify = false;
};

// 0 when `text` is one of the commands above, else the MCI error code that
// tells what is wrong with it.
McError parse_mci_command(std::string_view text, MciCommand& command);

// Aliases name one device whatever their letter case.
bool same_alias(std::string_view a, std::string_view b);

}  // namespace mowa::pf
