// Files on the host file system with the behaviour the program expects of
// Windows: code-page-932 names resolved by host_path, and text-mode streams
// that read CR LF as LF and end at Ctrl-Z.
#pragma once

#include <map>

#include "platform/common/faults.h"
#include "platform/platform.h"

namespace mowa::pf {

class HostFiles final : public FileService,
                        public FileVersions,
                        public FileReplacement {
 public:
  explicit HostFiles(Faults& faults) : faults_(faults) {}
  ~HostFiles() override;
  HostFiles(const HostFiles&) = delete;
  HostFiles& operator=(const HostFiles&) = delete;

  Hfile OpenFile(const char* path, Uint style) override;
  Dword SetFilePointer(Hfile file, Long distance, Long* distance_high,
                       Dword method) override;
  Bool ReadFile(Hfile file, void* buffer, Dword bytes, Dword* read,
                void* overlapped) override;
  Dword GetFileSize(Hfile file, Dword* size_high) override;
  Bool CloseHandle(Hfile file) override;
  Dword GetCurrentDirectoryA(Dword length, char* buffer) override;

  Stream* fopen(const char* path, const char* mode) override;
  int fclose(Stream* stream) override;

  FileStamp stamp(Stream& stream) override;

  int fsync(Stream& stream) override;
  int rename(const char* from, const char* to) override;
  int remove(const char* path) override;
  int sync_folder(const char* path) override;

  // Handles and streams still open, for tests that look for leaks.
  std::size_t open_handles() const { return handles_.size(); }
  std::size_t open_streams() const { return streams_; }

 private:
  Faults& faults_;
  std::map<Hfile, int> handles_;  // handle -> descriptor
  Hfile next_handle_ = 3;
  std::size_t streams_ = 0;
};

}  // namespace mowa::pf
