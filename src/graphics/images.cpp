#include "graphics/images.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "graphics/bmp_decode.h"
#include "graphics/composition.h"
#include "graphics/fades.h"
#include "graphics/graphics.h"
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
    if (g_.files.SetFilePointer(file_, static_cast<pf::Long>(offset), nullptr,
                                pf::FILE_BEGIN) != pf::INVALID_SET_FILE_POINTER)
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
    if (bytes == pf::INVALID_FILE_SIZE)
      call_failed(g_.report, kCaption, "GetFileSize");
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

// Any other file, read whole in one call and decoded.
struct OtherFile {
  bmp::IndexedPicture picture;
  bool loadable = false;
  // The box that refuses the file; none when a failed read was reported.
  const char* refusal_format = texts::kBrokenFmt;
};

OtherFile read_other(PictureFile& in, pf::Dword file_bytes) {
  // No palette file of at most 640x480 comes near this size; a longer file
  // is read this far, which holds all its pixels.
  constexpr pf::Dword kMostBytesRead = 16u << 20;
  OtherFile other;
  if (file_bytes == pf::INVALID_FILE_SIZE || !in.seek(0)) return other;
  std::vector<std::uint8_t> bytes(std::min(file_bytes, kMostBytesRead));
  pf::Dword got = 0;
  if (!in.read(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &got)) {
    other.refusal_format = nullptr;
    return other;
  }
  bytes.resize(std::min<std::size_t>(got, bytes.size()));
  bmp::Decoded decoded = bmp::decode(bytes);
  if (decoded.refusal != bmp::Refusal::none) {
    other.refusal_format = refusal_format(decoded.refusal, FileUse::picture);
  } else if (decoded.picture.width != kImageWidth ||
             decoded.picture.height != kImageHeight) {
    other.refusal_format = texts::kNot640x480Fmt;
  } else {
    other.picture = std::move(decoded.picture);
    other.loadable = true;
  }
  return other;
}

// A decoded picture in the standard form: a 40-byte header, 256 colours
// (those the file lacks black) and bottom-up rows.
void store_other(std::uint8_t* block, const bmp::IndexedPicture& picture) {
  pf::BitmapInfoHeader header{};
  header.biSize = kHeaderBytes;
  header.biWidth = kImageWidth;
  header.biHeight = kImageHeight;
  header.biPlanes = 1;
  header.biBitCount = 8;
  header.biCompression = pf::BI_RGB;
  header.biSizeImage = kPixelBytes;
  std::memcpy(block, &header, kHeaderBytes);
  std::uint8_t* table = block + kColourTableOffset;
  std::memset(table, 0, kTableEntries * sizeof(pf::RgbQuad));
  for (std::size_t i = 0; i < picture.colours.size(); ++i) {
    table[4 * i] = picture.colours[i].blue;
    table[4 * i + 1] = picture.colours[i].green;
    table[4 * i + 2] = picture.colours[i].red;
  }
  std::memcpy(block + kPixelOffset, picture.indices.data(), kPixelBytes);
}

// The window palette and the fade palette take the colours just loaded.
void take_palettes(Graphics& g, const std::uint8_t* block) {
  const pf::Hlocal logical = logical_palette_alloc(g, kCaption);
  for (int i = 0; i < static_cast<int>(kTableEntries); ++i) {
    pf::RgbQuad quad;
    std::memcpy(&quad, block + kColourTableOffset + i * sizeof quad,
                sizeof quad);
    if (logical != nullptr)
      logical_palette_set(logical, i, quad.rgbRed, quad.rgbGreen, quad.rgbBlue);
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

  const bool standard =
      have_header && got == kHeaderBytes &&
      picture_form(header, file_bytes) == PictureForm::standard;
  OtherFile other;
  if (!standard) {
    if (have_header) other = read_other(in, file_bytes);
    if (!other.loadable) {
      if (other.refusal_format != nullptr)
        error_box_with(g.report, kCaption, other.refusal_format, file);
      in.close();
      return;
    }
  }

  g.picture_x = x;
  g.picture_y = y;
  const pf::Hglobal target = destination == 0 ? g.screen_image : g.back_image;
  const ImageLock lock(g, target, kCaption);
  std::uint8_t* block = lock.bytes();
  if (block != nullptr) {
    if (standard)
      read_standard(in, block, header);
    else
      store_other(block, other.picture);
  }
  in.close();
  // Without the block there are no colours to take.
  if (block != nullptr) take_palettes(g, block);
  palette_black(g);
}

void gload(Graphics& g, const char* file, std::int32_t x, std::int32_t y,
           std::int32_t mode) {
  if (mode >= 0 && mode <= 2) {
    opendib(g, file, x, y, mode == 2 ? 1 : 0);
    if (mode != 1) palette_show(g);
  }
  // The command's own request has never been checked.
  request_repaint(g, nullptr);
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

namespace {

constexpr std::uint32_t kTableBytes = 1024;

}  // namespace

PictureForm picture_form(const pf::BitmapInfoHeader& h, pf::Dword file_bytes) {
  const bool standard_header =
      h.biSize == 40 && h.biWidth == kImageWidth &&
      h.biHeight == kImageHeight && h.biBitCount == 8 &&
      h.biCompression == pf::BI_RGB && (h.biClrUsed == 0 || h.biClrUsed == 256);
  if (!standard_header) return PictureForm::other;
  // Without the size only the standard header can still be trusted.
  if (file_bytes == pf::INVALID_FILE_SIZE) return PictureForm::standard;
  // The gap between the info header and the pixels, counted from the end of
  // the file in 32-bit arithmetic as the loader counts it.
  const std::uint32_t gap =
      (file_bytes - h.biSize - kPixelBytes - kFileHeaderBytes) & ~3u;
  return gap == kTableBytes ? PictureForm::standard : PictureForm::other;
}

const char* refusal_format(bmp::Refusal why, FileUse use) {
  switch (why) {
    case bmp::Refusal::not_bmp:
      return texts::kNotBmpFmt;
    case bmp::Refusal::not_palette:
      return texts::kNotPaletteFmt;
    case bmp::Refusal::unknown_compression:
      return texts::kUnknownCompressionFmt;
    case bmp::Refusal::too_large:
      return use == FileUse::picture ? texts::kNot640x480Fmt
                                     : texts::kLargerThan640x480Fmt;
    case bmp::Refusal::cut_short:
      return texts::kCutShortFmt;
    case bmp::Refusal::none:
    case bmp::Refusal::broken:
      break;
  }
  return texts::kBrokenFmt;
}

}  // namespace mowa::graphics
