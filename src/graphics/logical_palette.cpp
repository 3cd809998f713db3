#include "graphics/logical_palette.h"

#include <cstddef>

#include "shell/error_box.h"

namespace mowa::graphics {
namespace {

constexpr pf::Word kPaletteVersion = 0x300;
constexpr pf::Word kPaletteEntries = 256;

// With LPTR the handle is the block's address. The entries run on past the
// record's one-element array, so they are addressed as bytes.
std::uint8_t* bytes_of(pf::Hlocal palette) {
  return reinterpret_cast<std::uint8_t*>(palette);
}

}  // namespace

pf::Hlocal logical_palette_alloc(Program& p, const char* caption) {
  const pf::Hlocal block = p.pf.memory.LocalAlloc(pf::LPTR, kLogPaletteBytes);
  if (block == nullptr) {
    call_failed(p, caption, "LocalAlloc");
    return nullptr;
  }
  auto* header = reinterpret_cast<pf::LogPalette*>(bytes_of(block));
  header->palVersion = kPaletteVersion;
  header->palNumEntries = kPaletteEntries;
  return block;
}

void logical_palette_set(pf::Hlocal palette, int index, std::uint8_t red,
                         std::uint8_t green, std::uint8_t blue) {
  std::uint8_t* entry = bytes_of(palette) + offsetof(pf::LogPalette, palPalEntry) +
                        static_cast<std::size_t>(index) * sizeof(pf::PaletteEntry);
  entry[0] = red;
  entry[1] = green;
  entry[2] = blue;
  entry[3] = 0;
}

void replace_window_palette(Program& p, pf::Hlocal palette,
                            const char* caption) {
  if (p.gfx.window_palette != nullptr)
    p.pf.gdi.DeleteObject(p.gfx.window_palette);
  p.gfx.window_palette = p.pf.gdi.CreatePalette(
      reinterpret_cast<const pf::LogPalette*>(bytes_of(palette)));
  if (p.gfx.window_palette == nullptr) call_failed(p, caption, "CreatePalette");
}

void logical_palette_free(Program& p, pf::Hlocal palette, const char* caption) {
  if (p.pf.memory.LocalFree(palette) != nullptr)
    call_failed(p, caption, "LocalFree");
}

}  // namespace mowa::graphics
