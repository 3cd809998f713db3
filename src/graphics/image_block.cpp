#include "graphics/image_block.h"

#include "report/error_box.h"
#include "report/texts.h"

namespace mowa::graphics {

std::uint8_t* lock_image(Graphics& g, pf::Hglobal block, const char* caption) {
  void* bytes = g.memory.GlobalLock(block);
  if (bytes == nullptr) call_failed(g.report, caption, "GlobalLock");
  return static_cast<std::uint8_t*>(bytes);
}

void unlock_image(Graphics& g, pf::Hglobal block, const char* caption) {
  if (g.memory.GlobalUnlock(block) == pf::kFalse &&
      g.memory.GetLastError() != pf::NO_ERROR)
    call_failed(g.report, caption, "GlobalUnlock");
}

void images_allocate(Graphics& g) {
  constexpr char kCaption[] = "Program";
  constexpr pf::Uint kFlags = pf::GMEM_MOVEABLE | pf::GMEM_ZEROINIT;
  g.screen_image = g.memory.GlobalAlloc(kFlags, kImageBytes);
  if (!g.screen_image) error_box(g.report, kCaption, texts::kNoBitmapMemory);
  g.back_image = g.memory.GlobalAlloc(kFlags, kImageBytes);
  if (!g.back_image) error_box(g.report, kCaption, texts::kNoBackBitmapMemory);
}

void images_release(Graphics& g) {
  if (g.window_palette) g.gdi.DeleteObject(g.window_palette);
  if (g.screen_image) g.memory.GlobalFree(g.screen_image);
  if (g.back_image) g.memory.GlobalFree(g.back_image);
  g.window_palette = nullptr;
  g.screen_image = nullptr;
  g.back_image = nullptr;
}

}  // namespace mowa::graphics
