#include "graphics/logical_palette.h"

#include <cstddef>

#include "report/error_box.h"

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

pf::Hlocal logical_palette_alloc(Graphics& g, const char* caption) {
  const pf::Hlocal block = g.memory.LocalAlloc(pf::LPTR, kLogPaletteBytes);
  if (block == nullptr) {
    call_failed(g.report, caption, "LocalAlloc");
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

void replace_window_palette(Graphics& g, pf::Hlocal palette,
                            const char* caption) {
  if (g.window_palette != nullptr)
    g.gdi.DeleteObject(g.window_palette);
  g.window_palette = g.gdi.CreatePalette(
      reinterpret_cast<const pf::LogPalette*>(bytes_of(palette)));
  if (g.window_palette == nullptr) call_failed(g.report, caption, "CreatePalette");
}

void logical_palette_free(Graphics& g, pf::Hlocal palette, const char* caption) {
  if (g.memory.LocalFree(palette) != nullptr)
    call_failed(g.report, caption, "LocalFree");
}

}  // namespace mowa::graphics
