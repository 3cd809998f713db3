// Writes the seed corpora of the fuzz targets, one folder each, from the
// test helpers' pictures and MIDI files and the staged demo's own files:
//   mowa-fuzz-seeds OUT_DIR DEMO_DIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "../tests/bmp_writer.h"
#include "../tests/midi_writer.h"
#include "platform/common/cp932.h"

namespace {

namespace fs = std::filesystem;
using mowa::test::Bmp;

fs::path out_dir;
fs::path demo_dir;

void seed(const std::string& target, const std::string& name, const std::string& bytes) {
  fs::create_directories(out_dir / target);
  std::ofstream(out_dir / target / name, std::ios::binary) << bytes;
}

std::string demo_file(const std::string& name) {
  std::ifstream in(demo_dir / "data" / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string le(std::int64_t v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

// The picture target's form: position, file length, the file up to a little
// past the start of its pixels.
std::string picture_seed(const Bmp& bmp, int x, int y) {
  const std::string file = bmp.file();
  const std::uint32_t pixels_at = static_cast<std::uint8_t>(file[10]) |
                                  static_cast<std::uint8_t>(file[11]) << 8;
  const std::size_t head = std::min<std::size_t>(file.size(), pixels_at + 64);
  return le(x, 2) + le(y, 2) + le(static_cast<std::int64_t>(file.size()), 3) +
         file.substr(0, head);
}

void pictures() {
  struct Form {
    const char* name;
    std::function<void(Bmp&)> change;
  };
  const std::vector<Form> forms = {
      {"standard", [](Bmp&) {}},
      {"top-down", [](Bmp& b) { b.top_down = true; }},
      {"v5-header", [](Bmp& b) { b.info_bytes = 124; }},
      {"16-colours", [](Bmp& b) { b.colours.resize(16); }},
      {"gap-and-tail", [](Bmp& b) { b.gap_bytes = 6; b.trailing_bytes = 2; }},
      {"size-image", [](Bmp& b) { b.size_image = 640 * 480; }},
      {"truncated", [](Bmp& b) { b.keep_bytes = 5000; }},
      {"rle", [](Bmp& b) { b.compression = 1; }},
  };
  for (const Form& f : forms) {
    Bmp b = mowa::test::block_picture();
    f.change(b);
    seed("picture", f.name, picture_seed(b, 0, 0));
  }
  seed("picture", "moved", picture_seed(mowa::test::other_picture(), -37, 21));
}

void sprites() {
  const auto diagonal = [](int x, int y) { return static_cast<std::uint8_t>(x == y ? 0 : x + y); };
  struct Placed {
    const char* name;
    std::string file;
    int x, y, opaque;
  };
  const std::vector<Placed> placed = {
      {"32x16-transparent", mowa::test::sprite(32, 16, diagonal).file(), 10, 20, 0},
      {"32x16-opaque", mowa::test::sprite(32, 16, diagonal).file(), 620, 470, 1},
      {"7x5-off-left", mowa::test::sprite(7, 5, diagonal).file(), -3, -2, 1},
      {"demo-star", demo_file("star.bmp"), 300, 200, 0},
  };
  for (const Placed& p : placed)
    seed("sprite", p.name, le(p.x, 4) + le(p.y, 4) + le(p.opaque, 1) + le(0, 1) + p.file);
}

void saves() {
  std::string bank;
  for (int i = 0; i < 100; ++i) bank += mowa::test::be32(static_cast<std::uint32_t>(i * 0x01010101 - 50));
  seed("save", "400", bank);
  seed("save", "399", bank.substr(0, 399));
  seed("save", "404", bank + "tail");
}

void messages() {
  const auto numbers = [](int x, int y, int size, int colour, int opaque) {
    return le(x, 2) + le(y, 2) + le(size, 1) + le(colour, 4) + le(opaque, 1);
  };
  seed("message", "japanese",
       numbers(10, 20, 24, 0xFFFFFF, 1) + mowa::pf::utf8_to_cp932("もわもわの　はらっぱ！"));
  seed("message", "ascii-transparent", numbers(600, 460, 32, 255, 0) + "Hello,world");
  seed("message", "lead-byte-at-end", numbers(0, 0, 4, 0, 1) + "abc\x82");
}

void midis() {
  using mowa::test::MidiTrack;
  seed("midi", "one-note", mowa::test::one_note_midi(400, 100));
  seed("midi", "two-tracks",
       mowa::test::midi_file(1, 96, {MidiTrack().tempo(0, 250000).end(0),
                                     MidiTrack().program(0, 5).note_on(0, 60).raw(std::string("\x30\x40\x60\x00", 4))
                                         .note_off(96, 60).end(10)}));
  seed("midi", "demo-theme", demo_file("theme.mid"));
}

void wavs() {
  seed("wav", "demo-pop", demo_file("pop.wav"));
  seed("wav", "empty-data", "RIFF" + le(36, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) +
                                le(8000, 4) + le(8000, 4) + le(1, 2) + le(8, 2) + "data" + le(0, 4));
}

void scenarios() {
  seed("scenario", "demo", demo_file("mowa.snr"));
  const char* const snippets[][2] = {
      {"control", "@01=5\n[top]\n@01=@01-1\nrand\"@02\"\nif\"@01>0,top,done\"\n[done]\n"
                  "gosub\"sub\"\ncheck\"@01\"\nend\n[sub]\n@03=@01*7\nreturn\n"},
      {"pictures", "gload\"p.bmp,0,0,0\"\ngload\"p.bmp,0,0,2\"\nscreen_black_out\"1\"\n"
                   "screen_black_in\"1\"\ncharacter\"s.bmp,5,5,1,0\"\nscreen_copy\"0,0,50,50,9,9\"\n"
                   "screen_big_small\nend\n"},
      {"text", "textmode\nmessage\"abc\"\nmessage_out\ntext_write\"x,1,2,16,255,1\"\n"
               "number_write\"-42,3,4,12,65535,0\"\nboxfill\"1,2,30,40,255\"\nbox\"5,5,9,9,0\"\n"
               "force_write\nend\n"},
      {"sound-and-input", "play_midi\".\\m.mid\"\nplay_wav\"w.wav,1\"\nwait\"100\"\n"
                          "get_mouse_state\"@00\"\nget_mouse_position\"@01,@02\"\nstop_wav\n"
                          "stop_midi\nsave\nload\nscreen_big\nscreen_small\nxyzzy\nend\n"},
  };
  for (const auto& s : snippets) seed("scenario", s[0], s[1]);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: mowa-fuzz-seeds OUT_DIR DEMO_DIR\n");
    return 2;
  }
  out_dir = argv[1];
  demo_dir = argv[2];
  pictures();
  sprites();
  saves();
  messages();
  midis();
  wavs();
  scenarios();
  return 0;
}
