// The files a scenario names (pictures, sprites, sounds and music), read as
// the program would open them, and where its drawing lands on the picture.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "graphics/composition.h"
#include "graphics/images.h"
#include "lint/linter.h"
#include "platform/common/host_path.h"
#include "platform/common/mci_errors.h"
#include "platform/common/mci_sequencer.h"

namespace mowa::lint {

using engine::CommandId;

namespace {

std::optional<std::int32_t> offset_by(std::optional<std::int32_t> a,
                                      std::int64_t b) {
  if (!a) return std::nullopt;
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(*a + b, INT32_MIN, INT32_MAX));
}

// Why the program's own reader refuses a file, in the writer's words.
std::string refusal_reason(bmp::Refusal why, bool picture) {
  switch (why) {
    case bmp::Refusal::not_bmp:
      return "it is not a BMP file";
    case bmp::Refusal::not_palette:
      return "it is a true-colour file; use 256 colours or fewer";
    case bmp::Refusal::unknown_compression:
      return "it uses a compression the program cannot read";
    case bmp::Refusal::too_large:
      return picture ? "it is not 640x480"
                     : "a sprite is at most 640 wide and 480 high";
    case bmp::Refusal::cut_short:
      return "the file is cut short";
    case bmp::Refusal::broken:
      return "it is broken";
    case bmp::Refusal::none:
      break;
  }
  return {};
}

// The index of the file's colours in `all`, added on first sight.
int colours_of(std::vector<Colours>& all, const std::string& file,
               const bmp::IndexedPicture& picture) {
  for (std::size_t i = 0; i < all.size(); ++i)
    if (all[i].file == file) return static_cast<int>(i);
  Colours colours{file, picture.colours, {}};
  for (std::uint8_t index : picture.indices) colours.used[index] = true;
  all.push_back(std::move(colours));
  return static_cast<int>(all.size() - 1);
}

}  // namespace

// A sprite's pixels are indices into the window palette, which the picture
// loaded last made: its own colour table is ignored. Entries a picture's
// table lacks are black.
int Linter::colour_mismatch(int sprite, int picture, bool opaque) const {
  const Colours& s = sprites_[static_cast<std::size_t>(sprite)];
  const Colours& p = pictures_[static_cast<std::size_t>(picture)];
  for (std::size_t i = opaque ? 0 : 1; i < s.table.size(); ++i) {
    if (!s.used[i]) continue;
    const bmp::Colour shown = i < p.table.size() ? p.table[i] : bmp::Colour{};
    const bmp::Colour meant = s.table[i];
    if (shown.red != meant.red || shown.green != meant.green ||
        shown.blue != meant.blue)
      return static_cast<int>(i);
  }
  return -1;
}

void Linter::check_values(const Context& c, CommandId id,
                          const std::optional<std::int32_t>* n,
                          const std::string& file, std::size_t file_at,
                          Flow& flow) {
  switch (id) {
    case CommandId::kWait:
    case CommandId::kScreenBlackOut:
    case CommandId::kScreenBlackIn:
      if (n[0] && *n[0] < 0)
        report(c, c.s.q + 1, "negative-delay",
               "a negative delay " + std::to_string(*n[0]) +
                   " does not wait at all here, and would wait for ever on "
                   "the system the program was made for",
               {c.s.text, c.s.end});
      return;
    case CommandId::kBoxFill:
    case CommandId::kBox:
      check_inside(c, {n[0], n[2]}, kPictureWidth, "x");
      check_inside(c, {n[1], n[3]}, kPictureHeight, "y");
      return;
    case CommandId::kScreenCopy:
      check_inside(c, {n[0], n[2]}, kPictureWidth, "x");
      check_inside(c, {n[1], n[3]}, kPictureHeight, "y");
      if (n[0] && n[2])
        check_inside(c, {n[4], offset_by(n[4], *n[2] - *n[0])}, kPictureWidth,
                     "dx");
      if (n[1] && n[3])
        check_inside(c, {n[5], offset_by(n[5], *n[3] - *n[1])}, kPictureHeight,
                     "dy");
      return;
    case CommandId::kNumberWrite:
      check_inside(c, {n[1]}, kPictureWidth - 1, "x");
      check_inside(c, {n[2]}, kPictureHeight - 1, "y");
      return;
    case CommandId::kTextWrite:
      check_inside(c, {n[0]}, kPictureWidth - 1, "x");
      check_inside(c, {n[1]}, kPictureHeight - 1, "y");
      return;
    case CommandId::kGload:
      // Modes other than 0, 1 and 2 load nothing.
      if (n[2] && (*n[2] < 0 || *n[2] > 2)) return;
      flow.palette = Flow::loads;
      flow.picture = kUnknown;
      if (!file.empty()) flow.picture = check_picture(c, file, file_at);
      return;
    case CommandId::kCharacter:
      flow.opaque = n[2] && *n[2] == 1;
      if (!file.empty()) {
        const SpriteSize size = check_sprite(c, file, file_at, flow);
        check_inside(c, {n[0], offset_by(n[0], size.width)}, kPictureWidth,
                     "x");
        check_inside(c, {n[1], offset_by(n[1], size.height)}, kPictureHeight,
                     "y");
      }
      return;
    case CommandId::kPlayWav:
      if (!file.empty()) check_wav(c, file, file_at);
      return;
    case CommandId::kPlayMidi:
      if (!file.empty()) check_midi(c, file, file_at);
      return;
    default:
      return;
  }
}

void Linter::check_inside(
    const Context& c, std::initializer_list<std::optional<std::int32_t>> values,
    int limit, const char* what) {
  for (const auto& v : values) {
    if (!v || (*v >= 0 && *v <= limit)) continue;
    report(c, c.s.q + 1, "off-picture",
           std::string(what) + " " + std::to_string(*v) +
               " lies outside the picture (0 to " + std::to_string(limit) +
               "); what falls outside is not drawn",
           {c.s.text, c.s.end});
    return;
  }
}

void Linter::missing_file(const Context& c, std::size_t at,
                          const std::string& file,
                          const std::string& consequence) {
  report(c, at, "missing-file",
         in_quotes(file) +
             " is not found from the folder that holds data (letter case "
             "does not matter); " +
             consequence,
         file);
}

void Linter::bad_file(const Context& c, std::size_t at, const std::string& file,
                      const std::string& why) {
  report(c, at, "bad-file", in_quotes(file) + " would be refused: " + why,
         file);
}

// The file decoded by the program's own reader; nullopt when missing.
std::optional<bmp::Decoded> Linter::decode_file(const std::string& file) {
  pf::Stream* in = files_.fopen(file.c_str(), "rb");
  if (!in) return std::nullopt;
  const std::vector<std::uint8_t> bytes = graphics::read_all(*in);
  files_.fclose(in);
  return bmp::decode(bytes);
}

// The picture's index in pictures_, or kUnknown when it is refused.
int Linter::check_picture(const Context& c, const std::string& file,
                          std::size_t at) {
  const std::optional<bmp::Decoded> decoded = decode_file(file);
  if (!decoded) {
    missing_file(c, at, file,
                 "the program shows an error box and loads nothing");
    return kUnknown;
  }
  std::string why = refusal_reason(decoded->refusal, true);
  if (why.empty() && (decoded->picture.width != graphics::kImageWidth ||
                      decoded->picture.height != graphics::kImageHeight))
    why = "it is " + std::to_string(decoded->picture.width) + "x" +
          std::to_string(decoded->picture.height) + "; a picture is 640x480";
  if (!why.empty()) {
    bad_file(c, at, file, why);
    return kUnknown;
  }
  return colours_of(pictures_, file, decoded->picture);
}

Linter::SpriteSize Linter::check_sprite(const Context& c,
                                        const std::string& file, std::size_t at,
                                        Flow& flow) {
  const std::optional<bmp::Decoded> decoded = decode_file(file);
  if (!decoded) {
    missing_file(c, at, file,
                 "the program shows an error box and draws nothing");
    return {};
  }
  if (decoded->refusal == bmp::Refusal::none) {
    flow.sprite = colours_of(sprites_, file, decoded->picture);
    flow.sprite_byte = byte_of(c, at);
    return {decoded->picture.width, decoded->picture.height};
  }
  bad_file(c, at, file, refusal_reason(decoded->refusal, false));
  return {};
}

void Linter::check_wav(const Context& c, const std::string& file,
                       std::size_t at) {
  const std::string host = pf::host_path(file);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(host, ec)) {
    missing_file(c, at, file, "the system's default sound plays instead");
    return;
  }
  std::ifstream in(host, std::ios::binary);
  char head[12] = {};
  in.read(head, sizeof head);
  if (in.gcount() < 12 || std::memcmp(head, "RIFF", 4) != 0 ||
      std::memcmp(head + 8, "WAVE", 4) != 0)
    bad_file(c, at, file,
             "it is not a WAV file (no RIFF WAVE header); the system's default "
             "sound plays instead");
}

void Linter::check_midi(const Context& c, const std::string& path,
                        std::size_t at) {
  char directory[pf::MAX_PATH] = {};
  const pf::Dword length =
      files_.GetCurrentDirectoryA(sizeof directory, directory);
  if (length == 0 || length >= sizeof directory) return;
  const std::string midi_path = std::string(directory, length) + path.substr(1);
  const pf::McError error = pf::sequence_file_error(midi_path);
  if (error == pf::MCIERR_FILE_NOT_FOUND)
    missing_file(c, at, path, "the program shows the sequencer's error box");
  else if (error != 0)
    bad_file(c, at, path,
             "it is not a standard MIDI file the sequencer can play");
}

}  // namespace mowa::lint
