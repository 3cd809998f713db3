// mowa-demo-stage SOURCE OUTPUT: makes the playable demo folder OUTPUT from
// the demo sources in SOURCE. Scenarios SOURCE/data/NAME.utf8.snr become
// OUTPUT/data/NAME.snr in code page 932, other files there are copied, and the
// pictures, sprites, sounds and music are drawn and composed afresh. A save
// file already in OUTPUT is kept.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "bmp_file.h"
#include "demo_palette.h"
#include "demo_pictures.h"
#include "demo_sounds.h"
#include "midi_file.h"
#include "scenario_conversion.h"
#include "wav_file.h"

namespace fs = std::filesystem;

namespace {

bool write_file(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out)
    std::fprintf(stderr, "mowa-demo-stage: cannot write %s\n", path.c_str());
  return static_cast<bool>(out);
}

bool read_file(const fs::path& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  bytes = s.str();
  if (!in)
    std::fprintf(stderr, "mowa-demo-stage: cannot read %s\n", path.c_str());
  return static_cast<bool>(in);
}

bool stage_sources(const fs::path& source_data, const fs::path& data) {
  constexpr std::string_view kSuffix = ".utf8.snr";
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(source_data, ec)) {
    if (!entry.is_regular_file()) continue;
    const std::string name = entry.path().filename().string();
    std::string bytes;
    if (!read_file(entry.path(), bytes)) return false;
    if (name.size() > kSuffix.size() && name.ends_with(kSuffix)) {
      std::string cp932, error;
      if (!mowa::demo::scenario_to_cp932(bytes, cp932, error)) {
        std::fprintf(stderr, "mowa-demo-stage: %s: %s\n", entry.path().c_str(),
                     error.c_str());
        return false;
      }
      const std::string target =
          name.substr(0, name.size() - kSuffix.size()) + ".snr";
      if (!write_file(data / target, cp932)) return false;
    } else if (!write_file(data / name, bytes)) {
      return false;
    }
  }
  if (ec) {
    std::fprintf(stderr, "mowa-demo-stage: cannot list %s: %s\n",
                 source_data.c_str(), ec.message().c_str());
    return false;
  }
  return true;
}

bool stage_assets(const fs::path& data) {
  using namespace mowa::demo;
  const Palette palette = demo_palette();
  const struct {
    const char* name;
    IndexedPicture (*draw)();
  } pictures[] = {{"title.bmp", title_picture}, {"meadow.bmp", meadow_picture},
                  {"night.bmp", night_picture}, {"dice.bmp", dice_sheet},
                  {"mowa.bmp", mowa_sprite},    {"star.bmp", star_sprite}};
  for (const auto& p : pictures)
    if (!write_file(data / p.name, bmp_bytes(p.draw(), palette))) return false;
  const struct {
    const char* name;
    std::vector<double> (*make)();
  } sounds[] = {{"pop.wav", pop_sound},
                {"dice.wav", dice_sound},
                {"chime.wav", chime_sound},
                {"crickets.wav", crickets_sound}};
  for (const auto& s : sounds)
    if (!write_file(data / s.name, wav_bytes(s.make(), kSampleRateHz)))
      return false;
  return write_file(data / "theme.mid", midi_bytes(theme_tune()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: mowa-demo-stage SOURCE OUTPUT\n", stderr);
    return 2;
  }
  const fs::path source = argv[1];
  const fs::path data = fs::path(argv[2]) / "data";
  std::error_code ec;
  fs::create_directories(data, ec);
  if (ec) {
    std::fprintf(stderr, "mowa-demo-stage: cannot make %s: %s\n", data.c_str(),
                 ec.message().c_str());
    return 1;
  }
  if (!stage_sources(source / "data", data) || !stage_assets(data)) return 1;
  return 0;
}
