// A buffered stream over a file descriptor.
#pragma once

#include <memory>

#include "platform/common/faults.h"
#include "platform/file_versions.h"
#include "platform/files.h"

namespace mowa::pf {

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
