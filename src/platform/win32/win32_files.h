// Files on kernel32 with wide names: a cp932 name, 0x5C second bytes
// included, reaches the file system as the characters it spells.
#pragma once

#include <map>

#include "platform/common/faults.h"
#include "platform/platform.h"

// After the seam: its names are macros in the system headers.
#include <windows.h>

namespace mowa::pf {

class Win32Files final : public FileService,
                         public FileVersions,
                         public FileReplacement {
 public:
  explicit Win32Files(Faults& faults) : faults_(faults) {}
  ~Win32Files() override;
  Win32Files(const Win32Files&) = delete;
  Win32Files& operator=(const Win32Files&) = delete;

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

 private:
  HANDLE handle(Hfile file) const;

  Faults& faults_;  // the streams take it; nothing here injects faults
  std::map<Hfile, HANDLE> handles_;
  Hfile next_handle_ = 3;
};

}  // namespace mowa::pf
