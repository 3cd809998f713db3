#include "platform/win32/win32_files.h"

#include <cstring>
#include <memory>

#include "platform/common/host_stream.h"
#include "platform/win32/win32_text.h"

namespace mowa::pf {
namespace {

std::wstring wide_name(const char* cp932) {
  return cp932 ? cp932_to_wide(cp932) : std::wstring();
}

bool spelt_in_cp932(const std::wstring& wide) {
  return cp932_to_wide(wide_to_cp932(wide)) == wide;
}

}  // namespace

Win32Files::~Win32Files() {
  for (const auto& [file, h] : handles_) ::CloseHandle(h);
}

HANDLE Win32Files::handle(Hfile file) const {
  const auto it = handles_.find(file);
  return it == handles_.end() ? INVALID_HANDLE_VALUE : it->second;
}

Hfile Win32Files::OpenFile(const char* path, Uint /*style*/) {
  if (!path) return HFILE_ERROR;
  const HANDLE h = ::CreateFileW(wide_name(path).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return HFILE_ERROR;
  // A console or a pipe named as a picture would block the only thread.
  if (::GetFileType(h) != FILE_TYPE_DISK) {
    ::CloseHandle(h);
    return HFILE_ERROR;
  }
  const Hfile file = next_handle_++;
  handles_[file] = h;
  return file;
}

Dword Win32Files::SetFilePointer(Hfile file, Long distance, Long* distance_high,
                                 Dword method) {
  return ::SetFilePointer(handle(file), distance,
                          reinterpret_cast<PLONG>(distance_high), method);
}

Bool Win32Files::ReadFile(Hfile file, void* buffer, Dword bytes, Dword* read,
                          void* overlapped) {
  DWORD done = 0;
  const BOOL ok = ::ReadFile(handle(file), buffer, bytes, &done,
                             static_cast<OVERLAPPED*>(overlapped));
  if (read) *read = done;
  return ok;
}

Dword Win32Files::GetFileSize(Hfile file, Dword* size_high) {
  DWORD high = 0;
  const DWORD low = ::GetFileSize(handle(file), &high);
  if (size_high) *size_high = high;
  return low;
}

Bool Win32Files::CloseHandle(Hfile file) {
  const auto it = handles_.find(file);
  if (it == handles_.end()) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return kFalse;
  }
  const BOOL ok = ::CloseHandle(it->second);
  handles_.erase(it);
  return ok;
}

Dword Win32Files::GetCurrentDirectoryA(Dword length, char* buffer) {
  const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return 0;
  std::wstring wide(needed, L'\0');
  const DWORD n = ::GetCurrentDirectoryW(needed, wide.data());
  if (n == 0 || n >= needed) return 0;
  wide.resize(n);
  // The program builds paths on this name in code page 932: a folder whose
  // name that code page cannot spell ("Jörg") is given by its short name.
  if (!spelt_in_cp932(wide)) {
    const DWORD short_needed = ::GetShortPathNameW(wide.c_str(), nullptr, 0);
    std::wstring short_name(short_needed, L'\0');
    const DWORD m =
        short_needed
            ? ::GetShortPathNameW(wide.c_str(), short_name.data(), short_needed)
            : 0;
    if (m > 0 && m < short_needed) {
      short_name.resize(m);
      wide = short_name;
    }
  }
  const std::string name = wide_to_cp932(wide);
  if (!buffer || length < name.size() + 1)
    return static_cast<Dword>(name.size() + 1);
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  return static_cast<Dword>(name.size());
}

Stream* Win32Files::fopen(const char* path, const char* mode) {
  if (!path || !mode) return nullptr;
  std::unique_ptr<Stream> stream =
      open_host_stream(wide_to_utf8(wide_name(path)), mode, faults_);
  return stream.release();
}

int Win32Files::fclose(Stream* stream) {
  if (!stream) return -1;
  return close_host_stream(stream);
}

FileStamp Win32Files::stamp(Stream& stream) {
  return host_stream_stamp(stream);
}

int Win32Files::fsync(Stream& stream) { return host_stream_fsync(stream); }

int Win32Files::rename(const char* from, const char* to) {
  if (!from || !to) return -1;
  return ::MoveFileExW(wide_name(from).c_str(), wide_name(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? 0
             : -1;
}

// MOVEFILE_WRITE_THROUGH has already put the rename on the disk: there is no
// folder to flush on Windows.
int Win32Files::sync_folder(const char* /*path*/) { return 0; }

int Win32Files::remove(const char* path) {
  if (!path) return -1;
  return ::DeleteFileW(wide_name(path).c_str()) ? 0 : -1;
}

}  // namespace mowa::pf
