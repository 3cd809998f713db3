#include "graphics/bmp_loader.h"

#include <algorithm>
#include <cstring>

#include "graphics/image_block.h"
#include "graphics/logical_palette.h"
#include "graphics/picture_layout.h"
#include "shell/error_box.h"
#include "shell/texts.h"

namespace mowa::graphics {
namespace {

constexpr char kCaption[] = "opendib";
constexpr std::uint32_t kPixelBytes =
    static_cast<std::uint32_t>(kImageWidth) * kImageHeight;
constexpr std::uint32_t kTableEntries = 256;

// One open picture file and the reports of its calls.
class PictureFile {
 public:
  PictureFile(Program& p, pf::Hfile file) : p_(p), file_(file) {}

  bool seek(std::uint32_t offset) {
    if (p_.pf.files.SetFilePointer(file_, static_cast<pf::Long>(offset),
                                   nullptr, pf::FILE_BEGIN) !=
        pf::INVALID_SET_FILE_POINTER)
      return true;
    call_failed(p_, kCaption, "SetFilePointer");
    return false;
  }

  // The whole run in one call. How much a successful read delivered is not
  // examined: the size was checked before anything was read.
  bool read(void* to, std::uint32_t bytes, pf::Dword* got = nullptr) {
    pf::Dword delivered = 0;
    const bool ok =
        p_.pf.files.ReadFile(file_, to, bytes, &delivered, nullptr) != pf::kFalse;
    if (!ok) call_failed(p_, kCaption, "ReadFile");
    if (got != nullptr) *got = delivered;
    return ok;
  }

  pf::Dword size() {
    const pf::Dword bytes = p_.pf.files.GetFileSize(file_, nullptr);
    if (bytes == pf::INVALID_FILE_SIZE) call_failed(p_, kCaption, "GetFileSize");
    return bytes;
  }

  void close() {
    if (p_.pf.files.CloseHandle(file_) == pf::kFalse)
      call_failed(p_, kCaption, "CloseHandle");
  }

 private:
  Program& p_;
  pf::Hfile file_;
};

// Decides whether the file can be loaded, and how, before anything changes.
// A file of another form than the standard one is read through the offset
// that its file header gives for the pixels.
bool plan_load(PictureFile& in, const pf::BitmapInfoHeader& header,
               pf::Dword file_bytes, PictureForm& form, OtherLayout& layout) {
  form = picture_form(header, file_bytes);
  if (form != PictureForm::other) return form == PictureForm::standard;
  std::uint8_t field[4] = {};
  pf::Dword got = 0;
  if (!in.seek(kPixelOffsetField) || !in.read(field, sizeof field, &got) ||
      got != sizeof field)
    return false;
  const pf::Dword pixels_at = field[0] | (pf::Dword{field[1]} << 8) |
                              (pf::Dword{field[2]} << 16) |
                              (pf::Dword{field[3]} << 24);
  layout = other_layout(header, file_bytes, pixels_at);
  return layout.loadable;
}

// The standard file, read as it stands: the header with the pixel count as
// its image size, then the colour table and the pixels straight on from the
// end of the info header.
void read_standard(PictureFile& in, std::uint8_t* block,
                   pf::BitmapInfoHeader header) {
  header.biSizeImage = kPixelBytes;
  std::memcpy(block, &header, kHeaderBytes);
  in.read(block + kColourTableOffset, kTableEntries * sizeof(pf::RgbQuad));
  in.read(block + kPixelOffset, kPixelBytes);
}

// Any other loadable file, brought to the standard form: a 40-byte header,
// 256 colours (those the file lacks black) and bottom-up rows.
void read_other(PictureFile& in, std::uint8_t* block,
                pf::BitmapInfoHeader header, const OtherLayout& layout) {
  header.biSize = kHeaderBytes;
  header.biHeight = kImageHeight;
  header.biPlanes = 1;
  header.biSizeImage = kPixelBytes;
  header.biClrUsed = 0;
  header.biClrImportant = 0;
  std::memcpy(block, &header, kHeaderBytes);

  std::uint8_t* table = block + kColourTableOffset;
  const std::uint32_t table_bytes =
      layout.table_entries * static_cast<std::uint32_t>(sizeof(pf::RgbQuad));
  std::memset(table, 0, kTableEntries * sizeof(pf::RgbQuad));
  if (in.seek(layout.table_at)) in.read(table, table_bytes);

  std::uint8_t* pixels = block + kPixelOffset;
  if (in.seek(layout.pixels_at)) in.read(pixels, kPixelBytes);
  if (layout.top_down) {
    for (int top = 0, bottom = kImageHeight - 1; top < bottom; ++top, --bottom)
      std::swap_ranges(pixels + top * kImageWidth,
                       pixels + (top + 1) * kImageWidth,
                       pixels + bottom * kImageWidth);
  }
}

// The window palette and the fade palette take the colours just loaded.
void take_palettes(Program& p, const std::uint8_t* block) {
  const pf::Hlocal logical = logical_palette_alloc(p, kCaption);
  for (int i = 0; i < static_cast<int>(kTableEntries); ++i) {
    pf::RgbQuad quad;
    std::memcpy(&quad, block + kColourTableOffset + i * sizeof quad,
                sizeof quad);
    if (logical != nullptr)
      logical_palette_set(logical, i, quad.rgbRed, quad.rgbGreen,
                          quad.rgbBlue);
    p.gfx.fade_palette[i] = {static_cast<float>(quad.rgbBlue),
                             static_cast<float>(quad.rgbGreen),
                             static_cast<float>(quad.rgbRed)};
  }
  // Without a LOGPALETTE the window palette stays as it was.
  if (logical == nullptr) return;
  replace_window_palette(p, logical, kCaption);
  logical_palette_free(p, logical, kCaption);
}

std::uint8_t to_byte(float component) {
  // The fade palette only ever holds whole numbers from 0 to 255.
  if (!(component > 0.0f)) return 0;
  if (component >= 255.0f) return 255;
  return static_cast<std::uint8_t>(component);
}

}  // namespace

void opendib(Program& p, const char* file, std::int32_t x, std::int32_t y,
             int destination) {
  p.gfx.repaint = 1;
  const pf::Hfile handle = p.pf.files.OpenFile(file, pf::OF_READ);
  if (handle == pf::HFILE_ERROR) {
    error_box_with(p, kCaption, texts::kNotFoundFmt, file);
    return;
  }
  PictureFile in(p, handle);
  in.seek(kFileHeaderBytes);
  pf::BitmapInfoHeader header{};
  pf::Dword got = 0;
  const bool have_header = in.read(&header, kHeaderBytes, &got);
  const pf::Dword file_bytes = in.size();

  PictureForm form = PictureForm::broken;
  OtherLayout layout;
  if (!have_header || got != kHeaderBytes ||
      !plan_load(in, header, file_bytes, form, layout)) {
    error_box_with(p, kCaption, texts::kBrokenFmt, file);
    in.close();
    return;
  }

  p.gfx.picture_x = x;
  p.gfx.picture_y = y;
  const pf::Hglobal target =
      destination == 0 ? p.gfx.screen_image : p.gfx.back_image;
  std::uint8_t* block = lock_image(p, target, kCaption);
  if (block != nullptr) {
    if (form == PictureForm::standard)
      read_standard(in, block, header);
    else
      read_other(in, block, header, layout);
  }
  in.close();
  // Without the block there are no colours to take.
  if (block != nullptr) take_palettes(p, block);
  palette_black(p);
  if (block != nullptr) unlock_image(p, target, kCaption);
}

void palette_black(Program& p) {
  constexpr char kOwnCaption[] = "palette_black";
  std::uint8_t* block = lock_image(p, p.gfx.screen_image, kOwnCaption);
  if (block == nullptr) return;
  std::memset(block + kColourTableOffset, 0,
              kTableEntries * sizeof(pf::RgbQuad));
  unlock_image(p, p.gfx.screen_image, kOwnCaption);
}

void palette_show(Program& p) {
  constexpr char kOwnCaption[] = "palette_show";
  std::uint8_t* block = lock_image(p, p.gfx.screen_image, kOwnCaption);
  if (block == nullptr) return;
  for (std::size_t i = 0; i < kTableEntries; ++i) {
    const FadeEntry& colour = p.gfx.fade_palette[i];
    std::uint8_t* quad = block + kColourTableOffset + i * sizeof(pf::RgbQuad);
    quad[0] = to_byte(colour.blue);
    quad[1] = to_byte(colour.green);
    quad[2] = to_byte(colour.red);
  }
  unlock_image(p, p.gfx.screen_image, kOwnCaption);
}

}  // namespace mowa::graphics
