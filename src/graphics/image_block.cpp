#include "graphics/image_block.h"

#include "shell/error_box.h"

namespace mowa::graphics {

std::uint8_t* lock_image(Program& p, pf::Hglobal block, const char* caption) {
  void* bytes = p.pf.memory.GlobalLock(block);
  if (bytes == nullptr) call_failed(p, caption, "GlobalLock");
  return static_cast<std::uint8_t*>(bytes);
}

void unlock_image(Program& p, pf::Hglobal block, const char* caption) {
  if (p.pf.memory.GlobalUnlock(block) == pf::kFalse &&
      p.pf.memory.GetLastError() != pf::NO_ERROR)
    call_failed(p, caption, "GlobalUnlock");
}

}  // namespace mowa::graphics
