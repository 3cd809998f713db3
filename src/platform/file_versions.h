// What the program asks of files beyond the Windows calls and the C
// library's streams: knowing when the scenario file was edited, so that a
// step can trust its index of line starts, and putting a new save file in
// place of the old one only once it is safely written.
#pragma once

#include <cstdint>

#include "platform/files.h"

namespace mowa::pf {

// What identifies one version of a file: when any field changes, the file
// has been replaced or edited.
struct FileStamp {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = -1;
  std::int64_t mtime_ns = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

class FileVersions {
 public:
  virtual ~FileVersions() = default;
  // The version of the file that `stream` (from this platform's fopen) has
  // open, as it was when opened.
  virtual FileStamp stamp(Stream& stream) = 0;
};

class FileReplacement {
 public:
  virtual ~FileReplacement() = default;
  // Flushes the stream's bytes to the disk itself; 0 on success.
  virtual int fsync(Stream& stream) = 0;
  // Replaces `to` if it exists; 0 on success.
  virtual int rename(const char* from, const char* to) = 0;
  virtual int remove(const char* path) = 0;
  // Flushes the folder that holds `path` to the disk itself, so that a
  // rename into it survives a power loss; 0 on success.
  virtual int sync_folder(const char* path) = 0;
};

}  // namespace mowa::pf
