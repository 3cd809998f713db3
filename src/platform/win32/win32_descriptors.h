// The descriptor calls that buffered streams use, on Windows: positioned
// reads and writes through the descriptor's file handle, wide file names,
// and a file's identity from the handle's file information.
#pragma once

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/win32/win32_text.h"

inline ssize_t pread(int fd, void* buffer, size_t bytes, off_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  DWORD done = 0;
  const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  if (ReadFile(h, buffer, static_cast<DWORD>(bytes), &done, &at)) return done;
  return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
}

inline ssize_t pwrite(int fd, const void* buffer, size_t bytes, off_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  DWORD done = 0;
  const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  if (WriteFile(h, buffer, static_cast<DWORD>(bytes), &done, &at)) return done;
  return -1;
}

inline int fsync(int fd) { return _commit(fd); }

namespace mowa::pf {

inline int open_descriptor(const std::string& host_path, int flags) {
  const std::wstring name = utf8_to_wide(host_path);
  const int fd = _wopen(name.c_str(), flags | _O_BINARY | _O_NOINHERIT,
                        _S_IREAD | _S_IWRITE);
  // Anything but a file on a disk (a console, a pipe) is refused before any
  // read: reading one would block the only thread.
  if (fd >= 0 && GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(fd))) !=
                     FILE_TYPE_DISK) {
    _close(fd);
    return -1;
  }
  return fd;
}

// False for a directory or when the file cannot be examined.
inline bool stamp_of_file(int fd, FileStamp& s) {
  BY_HANDLE_FILE_INFORMATION info{};
  const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  if (!GetFileInformationByHandle(h, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  s.device = info.dwVolumeSerialNumber;
  s.inode = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  s.size = static_cast<std::int64_t>((std::uint64_t{info.nFileSizeHigh} << 32) |
                                     info.nFileSizeLow);
  // 100-nanosecond ticks
  s.mtime_ns = static_cast<std::int64_t>(
                   (std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                   info.ftLastWriteTime.dwLowDateTime) *
               100;
  return true;
}

}  // namespace mowa::pf
