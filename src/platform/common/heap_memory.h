// Global and local memory blocks on the C++ heap.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "platform/common/faults.h"
#include "platform/platform.h"

namespace mowa::pf {

class HeapMemory final : public MemoryService {
 public:
  explicit HeapMemory(Faults& faults) : faults_(faults) {}

  Hglobal GlobalAlloc(Uint flags, std::size_t bytes) override;
  void* GlobalLock(Hglobal block) override;
  Bool GlobalUnlock(Hglobal block) override;
  Hglobal GlobalFree(Hglobal block) override;
  Hlocal LocalAlloc(Uint flags, std::size_t bytes) override;
  Hlocal LocalFree(Hlocal block) override;
  Dword GetLastError() override { return last_error_; }
  void SetLastError(Dword error) override { last_error_ = error; }

  // Blocks not yet freed, for tests that look for leaks.
  std::size_t live_blocks() const { return globals_.size() + locals_.size(); }
  // Global blocks locked more often than unlocked.
  std::size_t locked_blocks() const;
  // The lock count of a global block; -1 for an unknown handle.
  int lock_count(Hglobal block) const;

 private:
  struct Block {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;
    int locks = 0;
  };
  Faults& faults_;
  std::map<std::uintptr_t, Block> globals_;
  std::map<std::uintptr_t, std::unique_ptr<std::uint8_t[]>> locals_;
  std::uintptr_t next_handle_ = 0x1000;
  Dword last_error_ = NO_ERROR;
};

}  // namespace mowa::pf
