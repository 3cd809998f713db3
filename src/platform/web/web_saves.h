// Files written whole (the save file) kept in the browser's IndexedDB as
// well, for this story's address: the write counts as done only when the
// database has committed it, so a reload right after it keeps the file.
#pragma once

#include "platform/common/host_files.h"
#include "platform/platform.h"

namespace mowa::pf {

class WebSaves final : public FileReplacement {
 public:
  explicit WebSaves(HostFiles& files) : files_(files) {}
  int fsync(Stream& stream) override { return files_.fsync(stream); }
  int rename(const char* from, const char* to) override;
  int remove(const char* path) override { return files_.remove(path); }
  // Stores the file last put in place in the database; 0 once committed.
  int sync_folder(const char* path) override;

 private:
  HostFiles& files_;
};

}  // namespace mowa::pf
