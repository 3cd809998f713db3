// A buffered stream over a file descriptor, and opening only what is a
// regular file.
#pragma once

#include <memory>
#include <string>

#include "platform/common/faults.h"
#include "platform/platform.h"

namespace mowa::pf {

// A FIFO, a terminal or any other device named where the program expects a
// file would block the only thread on its first read (or already on the
// open), so it is refused at once, as if it were missing. open(2) with
// `flags`, for a regular file only: a descriptor in blocking mode, or -1 when
// the file cannot be opened or is not a regular file. Not on Windows.
int open_regular_file(const std::string& host_path, int flags);

// Opens `host_path` with a C library mode ("r", "rt", "rb", "wb", "a+", ...).
// Without "b" the stream is in text mode, as on Windows. Null on failure.
std::unique_ptr<Stream> open_host_stream(const std::string& host_path,
                                         const char* mode, Faults& faults);

// The descriptor's data on the disk (0 on success) and the file version
// seen at open, of a stream from open_host_stream.
int host_stream_fsync(Stream& stream);
FileStamp host_stream_stamp(Stream& stream);

// Writes what is buffered, closes and deletes a stream from
// open_host_stream; 0 when everything reached the file.
int close_host_stream(Stream* stream);

}  // namespace mowa::pf
