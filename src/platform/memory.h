// Global and local memory blocks, and the thread's last error.
#pragma once

#include <cstddef>

#include "platform/types.h"

namespace mowa::pf {

class MemoryService {
 public:
  virtual ~MemoryService() = default;
  virtual Hglobal GlobalAlloc(Uint flags, std::size_t bytes) = 0;
  // The pointer stays valid until the matching unlock.
  virtual void* GlobalLock(Hglobal block) = 0;
  // Non-zero while still locked; 0 with the last error NO_ERROR once
  // unlocked; 0 with a non-zero last error on failure.
  virtual Bool GlobalUnlock(Hglobal block) = 0;
  // Null on success, the handle on failure.
  virtual Hglobal GlobalFree(Hglobal block) = 0;
  // With LPTR the handle is the block's address.
  virtual Hlocal LocalAlloc(Uint flags, std::size_t bytes) = 0;
  // Null on success, the handle on failure.
  virtual Hlocal LocalFree(Hlocal block) = 0;
  virtual Dword GetLastError() = 0;
  virtual void SetLastError(Dword error) = 0;
};

}  // namespace mowa::pf
