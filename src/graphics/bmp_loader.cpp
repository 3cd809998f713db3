#include "graphics/bmp_loader.h"

#include <algorithm>
#include <cstring>

#include "graphics/image_block.h"
#include "graphics/logical_palette.h"
#include "graphics/picture_layout.h"
#include "report/error_box.h"
#include "report/texts.h"

namespace mowa::graphics {
namespace {

constexpr char kCaption[] = "opendib";
constexpr std::uint32_t kPixelBytes =
    static_cast<std::uint32_t>(kImageWidth) * kImageHeight;
constexpr std::uint32_t kTableEntries = 256;

// One open picture file and the reports of its calls.
class PictureFile {
 public:
  PictureFile(Graphics& g, pf::Hfile file) : g_(g), file_(file) {}

  bool seek(std::uint32_t offset) {
    if (g_.files.SetFilePointer(file_, static_cast<pf::Long>(offset),
                                   nullptr, pf::FILE_BEGIN) !=
        pf::INVALID_SET_FILE_POINTER)
      return true;
    call_failed(g_.report, kCaption, "SetFilePointer");
    return false;
  }

  // The whole run in one call. How much a successful read delivered is not
  // examined: the size was checked before anything was read.
  bool read(void* to, std::uint32_t bytes, pf::Dword* got = nullptr) {
    pf::Dword delivered = 0;
    const bool ok =
        g_.files.ReadFile(file_, to, bytes, &delivered, nullptr) != pf::kFalse;
    if (!ok) call_failed(g_.report, kCaption, "ReadFile");
    if (got != nullptr) *got = delivered;
    return ok;
  }

  pf::Dword size() {
    const pf::Dword bytes = g_.files.GetFileSize(file_, nullptr);
    if (bytes == pf::INVALID_FILE_SIZE) call_failed(g_.report, kCaption, "GetFileSize");
    return bytes;
  }

  void close() {
    if (g_.files.CloseHandle(file_) == pf::kFalse)
      call_failed(g_.report, kCaption, "CloseHandle");
  }

 private:
  Graphics& g_;
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
void take_palettes(Graphics& g, const std::uint8_t* block) {
  const pf::Hlocal logical = logical_palette_alloc(g, kCaption);
  for (int i = 0; i < static_cast<int>(kTableEntries); ++i) {
    pf::RgbQuad quad;
    std::memcpy(&quad, block + kColourTableOffset + i * sizeof quad,
                sizeof quad);
    if (logical != nullptr)
      logical_palette_set(logical, i, quad.rgbRed, quad.rgbGreen,
                          quad.rgbBlue);
    g.fade_palette[i] = {static_cast<float>(quad.rgbBlue),
                             static_cast<float>(quad.rgbGreen),
                             static_cast<float>(quad.rgbRed)};
  }
  // Without a LOGPALETTE the window palette stays as it was.
  if (logical == nullptr) return;
  replace_window_palette(g, logical, kCaption);
  logical_palette_free(g, logical, kCaption);
}

std::uint8_t to_byte(float component) {
  // The fade palette only ever holds whole numbers from 0 to 255.
  if (!(component > 0.0f)) return 0;
  if (component >= 255.0f) return 255;
  return static_cast<std::uint8_t>(component);
}

}  // namespace

void opendib(Graphics& g, const char* file, std::int32_t x, std::int32_t y,
             int destination) {
  g.repaint = 1;
  const pf::Hfile handle = g.files.OpenFile(file, pf::OF_READ);
  if (handle == pf::HFILE_ERROR) {
    error_box_with(g.report, kCaption, texts::kNotFoundFmt, file);
    return;
  }
  PictureFile in(g, handle);
  in.seek(kFileHeaderBytes);
  pf::BitmapInfoHeader header{};
  pf::Dword got = 0;
  const bool have_header = in.read(&header, kHeaderBytes, &got);
  const pf::Dword file_bytes = in.size();

  PictureForm form = PictureForm::broken;
  OtherLayout layout;
  if (!have_header || got != kHeaderBytes ||
      !plan_load(in, header, file_bytes, form, layout)) {
    error_box_with(g.report, kCaption, texts::kBrokenFmt, file);
    in.close();
    return;
  }

  g.picture_x = x;
  g.picture_y = y;
  const pf::Hglobal target =
      destination == 0 ? g.screen_image : g.back_image;
  const ImageLock lock(g, target, kCaption);
  std::uint8_t* block = lock.bytes();
  if (block != nullptr) {
    if (form == PictureForm::standard)
      read_standard(in, block, header);
    else
      read_other(in, block, header, layout);
  }
  in.close();
  // Without the block there are no colours to take.
  if (block != nullptr) take_palettes(g, block);
  palette_black(g);
}

void palette_black(Graphics& g) {
  constexpr char kOwnCaption[] = "palette_black";
  const ImageLock lock(g, g.screen_image, kOwnCaption);
  if (!lock) return;
  std::memset(lock.bytes() + kColourTableOffset, 0,
              kTableEntries * sizeof(pf::RgbQuad));
}

void palette_show(Graphics& g) {
  constexpr char kOwnCaption[] = "palette_show";
  const ImageLock lock(g, g.screen_image, kOwnCaption);
  std::uint8_t* block = lock.bytes();
  if (block == nullptr) return;
  for (std::size_t i = 0; i < kTableEntries; ++i) {
    const FadeEntry& colour = g.fade_palette[i];
    std::uint8_t* quad = block + kColourTableOffset + i * sizeof(pf::RgbQuad);
    quad[0] = to_byte(colour.blue);
    quad[1] = to_byte(colour.green);
    quad[2] = to_byte(colour.red);
  }
}

}  // namespace mowa::graphics
