#include "platform/common/heap_memory.h"

namespace mowa::pf {

Hglobal HeapMemory::GlobalAlloc(Uint /*flags*/, std::size_t bytes) {
  if (faults_.fail("GlobalAlloc")) return nullptr;
  // Every block is zero-filled, whatever the flags: nothing ever sees
  // uninitialised memory.
  Block b;
  b.bytes = std::make_unique<std::uint8_t[]>(bytes ? bytes : 1);
  b.size = bytes;
  const std::uintptr_t id = next_handle_;
  next_handle_ += 0x10;
  globals_.emplace(id, std::move(b));
  return reinterpret_cast<Hglobal>(id);
}

void* HeapMemory::GlobalLock(Hglobal block) {
  if (faults_.fail("GlobalLock")) return nullptr;
  const auto it = globals_.find(reinterpret_cast<std::uintptr_t>(block));
  if (it == globals_.end()) {
    last_error_ = ERROR_INVALID_HANDLE;
    return nullptr;
  }
  ++it->second.locks;
  return it->second.bytes.get();
}

Bool HeapMemory::GlobalUnlock(Hglobal block) {
  if (faults_.fail("GlobalUnlock")) {
    last_error_ = ERROR_NOT_LOCKED;
    return kFalse;
  }
  const auto it = globals_.find(reinterpret_cast<std::uintptr_t>(block));
  if (it == globals_.end()) {
    last_error_ = ERROR_INVALID_HANDLE;
    return kFalse;
  }
  if (it->second.locks == 0) {
    last_error_ = ERROR_NOT_LOCKED;
    return kFalse;
  }
  if (--it->second.locks > 0) return kTrue;
  last_error_ = NO_ERROR;
  return kFalse;
}

Hglobal HeapMemory::GlobalFree(Hglobal block) {
  if (faults_.fail("GlobalFree")) return block;
  if (globals_.erase(reinterpret_cast<std::uintptr_t>(block)) == 0) {
    last_error_ = ERROR_INVALID_HANDLE;
    return block;
  }
  return nullptr;
}

Hlocal HeapMemory::LocalAlloc(Uint /*flags*/, std::size_t bytes) {
  if (faults_.fail("LocalAlloc")) return nullptr;
  auto bytes_ptr = std::make_unique<std::uint8_t[]>(bytes ? bytes : 1);
  // With LPTR the handle is the address itself.
  const auto id = reinterpret_cast<std::uintptr_t>(bytes_ptr.get());
  locals_.emplace(id, std::move(bytes_ptr));
  return reinterpret_cast<Hlocal>(id);
}

Hlocal HeapMemory::LocalFree(Hlocal block) {
  if (faults_.fail("LocalFree")) return block;
  if (locals_.erase(reinterpret_cast<std::uintptr_t>(block)) == 0) {
    last_error_ = ERROR_INVALID_HANDLE;
    return block;
  }
  return nullptr;
}

std::size_t HeapMemory::locked_blocks() const {
  std::size_t locked = 0;
  for (const auto& [handle, block] : globals_)
    locked += block.locks > 0 ? 1 : 0;
  return locked;
}

int HeapMemory::lock_count(Hglobal block) const {
  const auto it = globals_.find(reinterpret_cast<std::uintptr_t>(block));
  return it == globals_.end() ? -1 : it->second.locks;
}

}  // namespace mowa::pf
