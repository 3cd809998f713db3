// Opening only what is a regular file. A FIFO, a terminal or any other
// device named where the program expects a file would block the only thread
// on its first read (or already on the open), so it is refused at once, as
// if it were missing.
#pragma once

#include <string>

namespace mowa::pf {

// open(2) with `flags`, for a regular file only: a descriptor in blocking
// mode, or -1 when the file cannot be opened or is not a regular file.
int open_regular_file(const std::string& host_path, int flags);

}  // namespace mowa::pf
