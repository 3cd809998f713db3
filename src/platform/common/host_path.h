// Windows file names on the host file system.
#pragma once

#include <string>
#include <string_view>

namespace mowa::pf {

// Turns a code-page-932 Windows path into a UTF-8 host path: backslash and
// slash separate components (a 0x5C that is the second byte of a two-byte
// character does not), every component is looked up ignoring letter case, and
// a leading drive ("C:") stands for the root. A component that does not exist
// keeps the spelling given, so that new files can be created.
std::string host_path(std::string_view cp932_path);

// The same path spelt as given, without looking at the file system: what a
// name that is already right becomes at no cost.
std::string direct_host_path(std::string_view cp932_path);

}  // namespace mowa::pf
