#include "engine/variables.h"

#include <cstdint>

#include "report/error_box.h"
#include "report/texts.h"

namespace mowa::engine {

namespace {

constexpr char kCaption[] = "script_read";

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The variable index of a reference, or -1 (reported) when its two bytes are
// not digits.
int variable_index(Script& sc, const char* reference) {
  const int index = variable_index_of(reference);
  if (index >= 0) return index;
  std::string shown;
  for (int i = 0; i < 3 && reference[i] && reference[i] != '\n'; ++i)
    shown += reference[i];
  error_box_with(sc.report, kCaption, texts::kNotVariableFmt, shown.c_str());
  return -1;
}

}  // namespace

int variable_index_of(const char* reference) {
  const char a = reference[0] ? reference[1] : '\0';
  const char b = a ? reference[2] : '\0';
  if (is_digit(a) && is_digit(b)) return (a - '0') * 10 + (b - '0');
  return -1;
}

std::int32_t variable_get(Script& sc, const char* reference) {
  const int i = variable_index(sc, reference);
  return i < 0 ? 0 : sc.variables[i];
}

void variable_set(Script& sc, const char* reference, std::int32_t value) {
  const int i = variable_index(sc, reference);
  if (i >= 0) sc.variables[i] = value;
}

std::int32_t read_decimal(const char* text, std::size_t length) {
  std::size_t i = 0;
  bool negative = false;
  if (i < length && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::uint32_t value = 0;
  for (; i < length && is_digit(text[i]); ++i)
    value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

namespace {

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
