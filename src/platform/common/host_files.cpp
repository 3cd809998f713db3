#include "platform/common/host_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "base/cp932.h"
#include "platform/common/host_path.h"
#include "platform/common/host_stream.h"

namespace mowa::pf {

HostFiles::~HostFiles() {
  for (const auto& [handle, fd] : handles_) ::close(fd);
}

Hfile HostFiles::OpenFile(const char* path, Uint /*style*/) {
  if (faults_.fail("OpenFile") || !path) return HFILE_ERROR;
  int fd = open_regular_file(direct_host_path(path), O_RDONLY);
  if (fd < 0) fd = open_regular_file(host_path(path), O_RDONLY);
  if (fd < 0) return HFILE_ERROR;
  const Hfile h = next_handle_++;
  handles_[h] = fd;
  return h;
}

Dword HostFiles::SetFilePointer(Hfile file, Long distance, Long* distance_high,
                                Dword method) {
  if (faults_.fail("SetFilePointer")) return INVALID_SET_FILE_POINTER;
  const auto it = handles_.find(file);
  if (it == handles_.end()) return INVALID_SET_FILE_POINTER;
  std::int64_t offset = distance;
  if (distance_high)
    offset = (static_cast<std::int64_t>(*distance_high) << 32) |
             static_cast<std::uint32_t>(distance);
  const int whence = method == FILE_CURRENT ? SEEK_CUR
                     : method == FILE_END   ? SEEK_END
                                            : SEEK_SET;
  const off_t r = ::lseek(it->second, static_cast<off_t>(offset), whence);
  if (r < 0) return INVALID_SET_FILE_POINTER;
  if (distance_high) *distance_high = static_cast<Long>(r >> 32);
  return static_cast<Dword>(r);
}

Bool HostFiles::ReadFile(Hfile file, void* buffer, Dword bytes, Dword* read,
                         void* /*overlapped*/) {
  if (read) *read = 0;
  if (faults_.fail("ReadFile")) return kFalse;
  const auto it = handles_.find(file);
  if (it == handles_.end() || (!buffer && bytes)) return kFalse;
  Dword done = 0;
  while (done < bytes) {
    const ssize_t r =
        ::read(it->second, static_cast<char*>(buffer) + done, bytes - done);
    if (r < 0) return kFalse;
    if (r == 0) break;  // end of file: a short read that still succeeds
    done += static_cast<Dword>(r);
  }
  if (read) *read = done;
  return kTrue;
}

Dword HostFiles::GetFileSize(Hfile file, Dword* size_high) {
  if (faults_.fail("GetFileSize")) return INVALID_FILE_SIZE;
  const auto it = handles_.find(file);
  struct stat st;
  if (it == handles_.end() || ::fstat(it->second, &st) != 0)
    return INVALID_FILE_SIZE;
  const auto size = static_cast<std::uint64_t>(st.st_size);
  if (size_high) *size_high = static_cast<Dword>(size >> 32);
  return static_cast<Dword>(size);
}

Bool HostFiles::CloseHandle(Hfile file) {
  const auto it = handles_.find(file);
  if (it == handles_.end()) return kFalse;
  ::close(it->second);
  handles_.erase(it);
  // An injected failure still closes, so that nothing leaks.
  return faults_.fail("CloseHandle") ? kFalse : kTrue;
}

Dword HostFiles::GetCurrentDirectoryA(Dword length, char* buffer) {
  if (faults_.fail("GetCurrentDirectoryA")) return 0;
  char cwd[4096];
  if (!::getcwd(cwd, sizeof cwd)) return 0;
  const std::string name = base::utf8_to_cp932(cwd);
  if (name.size() + 1 > length || !buffer)
    return static_cast<Dword>(name.size() + 1);
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  return static_cast<Dword>(name.size());
}

Stream* HostFiles::fopen(const char* path, const char* mode) {
  if (faults_.fail("fopen") || !path) return nullptr;
  // A name spelt right opens at once; only a miss looks for another case.
  // Writing always resolves first, so as not to create a second file whose
  // name differs only in case.
  std::unique_ptr<Stream> stream;
  if (mode && mode[0] == 'r')
    stream = open_host_stream(direct_host_path(path), mode, faults_);
  if (!stream) stream = open_host_stream(host_path(path), mode, faults_);
  if (!stream) return nullptr;
  ++streams_;
  return stream.release();
}

int HostFiles::fclose(Stream* stream) {
  if (!stream) return -1;
  --streams_;
  const int r = close_host_stream(stream);
  return faults_.fail("fclose") ? -1 : r;
}

FileStamp HostFiles::stamp(Stream& stream) { return host_stream_stamp(stream); }

int HostFiles::fsync(Stream& stream) { return host_stream_fsync(stream); }

int HostFiles::rename(const char* from, const char* to) {
  if (faults_.fail("rename") || !from || !to) return -1;
  return std::rename(host_path(from).c_str(), host_path(to).c_str()) == 0 ? 0
                                                                          : -1;
}

int HostFiles::remove(const char* path) {
  if (faults_.fail("remove") || !path) return -1;
  return ::unlink(host_path(path).c_str()) == 0 ? 0 : -1;
}

int HostFiles::sync_folder(const char* path) {
  if (faults_.fail("sync_folder") || !path) return -1;
  const std::filesystem::path folder =
      std::filesystem::path(host_path(path)).parent_path();
  const int fd = ::open(folder.empty() ? "." : folder.c_str(),
                        O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -1;
  const int r = ::fsync(fd);
  ::close(fd);
  return r == 0 ? 0 : -1;
}

}  // namespace mowa::pf
