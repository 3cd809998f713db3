#include "engine/save_file.h"

#include <cstdint>

#include "report/error_box.h"
#include "report/texts.h"

namespace mowa::engine {
namespace {

constexpr char kCaption[] = "script_read";
constexpr char kNewSavePath[] = ".\\data\\save.dat.new";
constexpr int kSaveBytes = kVariableCount * 4;

}  // namespace

void save(Script& sc) {
  pf::FileService& files = sc.files;
  pf::Stream* out = files.fopen(kNewSavePath, "wb");
  if (!out) {
    error_box(sc.report, kCaption, texts::kSaveOpenFailed);
    return;
  }
  bool ok = true;
  for (const std::int32_t v : sc.variables) {
    const auto u = static_cast<std::uint32_t>(v);
    for (const int shift : {24, 16, 8, 0})
      ok = ok && out->fputc(static_cast<int>((u >> shift) & 0xFF)) != -1;
  }
  ok = ok && sc.replacement.fsync(*out) == 0;
  ok = files.fclose(out) == 0 && ok;
  ok = ok && sc.replacement.rename(kNewSavePath, kSavePath) == 0;
  if (!ok) {
    sc.replacement.remove(kNewSavePath);
    error_box(sc.report, kCaption, texts::kSaveWriteFailed);
    return;
  }
  // The rename lives in the folder: until the folder is on the disk too, a
  // power loss may bring back the old save. The new one is in place all the
  // same, so nothing is taken back, but the write is reported as failed.
  if (sc.replacement.sync_folder(kSavePath) != 0)
    error_box(sc.report, kCaption, texts::kSaveWriteFailed);
}

void load(Script& sc) {
  pf::Stream* in = sc.files.fopen(kSavePath, "rb");
  if (!in) {
    error_box(sc.report, kCaption, texts::kSaveNotFound);
    return;
  }
  std::uint8_t bytes[kSaveBytes];
  int n = 0;
  for (int c; n < kSaveBytes && (c = in->fgetc()) != -1; ++n)
    bytes[n] = static_cast<std::uint8_t>(c);
  sc.files.fclose(in);
  if (n < kSaveBytes) {
    error_box(sc.report, kCaption, texts::kSaveBroken);
    return;
  }
  for (int i = 0; i < kVariableCount; ++i) {
    const std::uint32_t u = (std::uint32_t{bytes[4 * i]} << 24) |
                            (std::uint32_t{bytes[4 * i + 1]} << 16) |
                            (std::uint32_t{bytes[4 * i + 2]} << 8) |
                            std::uint32_t{bytes[4 * i + 3]};
    sc.variables[i] = static_cast<std::int32_t>(u);
  }
}

}  // namespace mowa::engine
