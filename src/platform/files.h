// File services: the Windows file calls and the C library's buffered streams.
//
// Every name is a code-page-932 path as the scenario writes it: backslash as
// separator, relative to the current directory, letter case ignored.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/types.h"

namespace mowa::pf {

// A buffered stream as fopen gives it. Mode "rt" reads CR LF as LF and ends
// at Ctrl-Z; positions are byte offsets in the file.
class Stream {
 public:
  virtual ~Stream() = default;
  // Null at the end of the file or on error.
  virtual char* fgets(char* buffer, int size) = 0;
  // -1 (EOF) at the end of the file or on error.
  virtual int fgetc() = 0;
  // -1 on failure.
  virtual int fputc(int c) = 0;
  virtual std::size_t fwrite(const void* data, std::size_t size,
                             std::size_t count) = 0;
  // 0 on success.
  virtual int fseek(long offset, int origin) = 0;
  virtual long ftell() = 0;
  virtual void rewind() = 0;
  // 0 on success.
  virtual int fflush() = 0;
};

inline constexpr int SEEK_SET_ = 0;
inline constexpr int SEEK_CUR_ = 1;
inline constexpr int SEEK_END_ = 2;

class FileService {
 public:
  virtual ~FileService() = default;

  // ---- Windows calls ----
  virtual Hfile OpenFile(const char* path, Uint style) = 0;
  virtual Dword SetFilePointer(Hfile file, Long distance, Long* distance_high,
                               Dword method) = 0;
  virtual Bool ReadFile(Hfile file, void* buffer, Dword bytes, Dword* read,
                        void* overlapped) = 0;
  virtual Dword GetFileSize(Hfile file, Dword* size_high) = 0;
  virtual Bool CloseHandle(Hfile file) = 0;
  // Length without the terminator; 0 on failure; the needed size when the
  // buffer is too small.
  virtual Dword GetCurrentDirectoryA(Dword length, char* buffer) = 0;

  // ---- C library ----
  // Null on failure. The stream is closed and deleted by fclose.
  virtual Stream* fopen(const char* path, const char* mode) = 0;
  // 0 on success, -1 on failure; the stream is gone either way.
  virtual int fclose(Stream* stream) = 0;
};

}  // namespace mowa::pf
