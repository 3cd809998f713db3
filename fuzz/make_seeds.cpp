// Writes the seed corpora of the fuzz targets, one folder each, from the
// test helpers' pictures and MIDI files and the staged demo's own files:
//   mowa-fuzz-seeds OUT_DIR DEMO_DIR
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../tests/support/bmp_writer.h"
#include "../tests/support/midi_writer.h"
#include "base/cp932.h"

namespace {

namespace fs = std::filesystem;
using mowa::test::Bmp;

fs::path out_dir;
fs::path demo_dir;

void seed(const std::string& target, const std::string& name,
          const std::string& bytes) {
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
      {"gap-and-tail",
       [](Bmp& b) {
         b.gap_bytes = 6;
         b.trailing_bytes = 2;
       }},
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
  const auto diagonal = [](int x, int y) {
    return static_cast<std::uint8_t>(x == y ? 0 : x + y);
  };
  struct Placed {
    const char* name;
    std::string file;
    int x, y, opaque;
  };
  const std::vector<Placed> placed = {
      {"32x16-transparent", mowa::test::sprite(32, 16, diagonal).file(), 10, 20,
       0},
      {"32x16-opaque", mowa::test::sprite(32, 16, diagonal).file(), 620, 470,
       1},
      {"7x5-off-left", mowa::test::sprite(7, 5, diagonal).file(), -3, -2, 1},
      {"demo-star", demo_file("star.bmp"), 300, 200, 0},
  };
  for (const Placed& p : placed)
    seed("sprite", p.name,
         le(p.x, 4) + le(p.y, 4) + le(p.opaque, 1) + le(0, 1) + p.file);
}

void saves() {
  std::string bank;
  for (int i = 0; i < 100; ++i)
    bank += mowa::test::be32(static_cast<std::uint32_t>(i * 0x01010101 - 50));
  seed("save", "400", bank);
  seed("save", "399", bank.substr(0, 399));
  seed("save", "404", bank + "tail");
}

void messages() {
  const auto numbers = [](int x, int y, int size, int colour, int opaque) {
    return le(x, 2) + le(y, 2) + le(size, 1) + le(colour, 4) + le(opaque, 1);
  };
  seed("message", "japanese",
       numbers(10, 20, 24, 0xFFFFFF, 1) +
           mowa::base::utf8_to_cp932("もわもわの　はらっぱ！"));
  seed("message", "ascii-transparent",
       numbers(600, 460, 32, 255, 0) + "Hello,world");
  seed("message", "lead-byte-at-end", numbers(0, 0, 4, 0, 1) + "abc\x82");
}

void midis() {
  using mowa::test::MidiTrack;
  seed("midi", "one-note", mowa::test::one_note_midi(400, 100));
  seed("midi", "two-tracks",
       mowa::test::midi_file(1, 96,
                             {MidiTrack().tempo(0, 250000).end(0),
                              MidiTrack()
                                  .program(0, 5)
                                  .note_on(0, 60)
                                  .raw(std::string("\x30\x40\x60\x00", 4))
                                  .note_off(96, 60)
                                  .end(10)}));
  seed("midi", "demo-theme", demo_file("theme.mid"));
}

void wavs() {
  seed("wav", "demo-pop", demo_file("pop.wav"));
  seed("wav", "empty-data",
       "RIFF" + le(36, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) +
           le(8000, 4) + le(8000, 4) + le(1, 2) + le(8, 2) + "data" + le(0, 4));
}

void scenarios() {
  seed("scenario", "demo", demo_file("mowa.snr"));
  const char* const snippets[][2] = {
      {"control",
       "@01=5\n[top]\n@01=@01-1\nrand\"@02\"\nif\"@01>0,top,done\"\n[done]\n"
       "gosub\"sub\"\ncheck\"@01\"\nend\n[sub]\n@03=@01*7\nreturn\n"},
      {"pictures",
       "gload\"p.bmp,0,0,0\"\ngload\"p.bmp,0,0,2\"\nscreen_black_out\"1\"\n"
       "screen_black_in\"1\"\ncharacter\"s.bmp,5,5,1,0\"\nscreen_copy\"0,0,50,"
       "50,9,9\"\n"
       "screen_big_small\nend\n"},
      {"text",
       "textmode\nmessage\"abc\"\nmessage_out\ntext_write\"x,1,2,16,255,1\"\n"
       "number_write\"-42,3,4,12,65535,0\"\nboxfill\"1,2,30,40,255\"\nbox\"5,5,"
       "9,9,0\"\n"
       "force_write\nend\n"},
      {"sound-and-input",
       "play_midi\".\\m.mid\"\nplay_wav\"w.wav,1\"\nwait\"100\"\n"
       "get_mouse_state\"@00\"\nget_mouse_position\"@01,@02\"\nstop_wav\n"
       "stop_midi\nsave\nload\nscreen_big\nscreen_small\nxyzzy\nend\n"},
  };
  for (const auto& s : snippets) seed("scenario", s[0], s[1]);
}

// The readers' own seeds: whole files and single lines, small.

void bmp_files() {
  const auto diagonal = [](int x, int y) {
    return static_cast<std::uint8_t>((x + 3 * y) % 16);
  };
  struct Form {
    const char* name;
    std::function<void(Bmp&)> change;
  };
  const std::vector<Form> forms = {
      {"8-bit", [](Bmp&) {}},
      {"top-down", [](Bmp& b) { b.top_down = true; }},
      {"v5-profile",
       [](Bmp& b) {
         b.info_bytes = 124;
         b.profile_behind = true;
         b.trailing_bytes = 8;
       }},
      {"16-colours-gap",
       [](Bmp& b) {
         b.use_colours(16);
         b.gap_bytes = 6;
       }},
      {"4-bit",
       [](Bmp& b) {
         b.bits_per_pixel = 4;
         b.use_colours(16);
       }},
      {"1-bit",
       [](Bmp& b) {
         b.bits_per_pixel = 1;
         b.use_colours(2);
         for (std::uint8_t& p : b.pixels) p &= 1;
       }},
      {"rle8", [](Bmp& b) { b.run_length = true; }},
      {"rle4",
       [](Bmp& b) {
         b.bits_per_pixel = 4;
         b.use_colours(16);
         b.run_length = true;
       }},
      {"truncated", [](Bmp& b) { b.keep_bytes = 1150; }},
      {"24-bit",
       [](Bmp& b) {
         b.bits_per_pixel = 24;
         b.use_colours(0);
       }},
  };
  for (const Form& f : forms) {
    Bmp b = mowa::test::sprite(19, 7, diagonal);
    f.change(b);
    seed("bmp_decode", f.name, b.file());
  }
  // The 12-byte core header, which the writer above does not write: 3x2
  // pixels, two colours of three bytes.
  std::string core = "BM" + le(14 + 12 + 6 + 8, 4) + le(0, 4) +
                     le(14 + 12 + 6, 4) + le(12, 4) + le(3, 2) + le(2, 2) +
                     le(1, 2) + le(8, 2) +
                     std::string("\x00\x00\x00\xFF\xFF\xFF", 6) +
                     std::string("\x00\x01\x00\x00\x01\x00\x01\x00", 8);
  seed("bmp_decode", "core-header", core);
  seed("bmp_decode", "demo-star", demo_file("star.bmp"));
}

void statements() {
  // The first line of each command the demo uses, and the odd forms.
  std::istringstream demo(demo_file("mowa.snr"));
  std::set<std::string> words;
  for (std::string line; std::getline(demo, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string word = line.substr(0, line.find('"'));
    if (!word.empty() && word[0] == '@') word = "assign";
    const bool named =
        !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
          return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
        });
    if (named && words.insert(word).second)
      seed("statement", "demo-" + word, line + "\n");
  }
  const char* const odd[][2] = {
      {"blanks", " g l o a d \t\"p.bmp , 1,\t2 ,0\"  \n"},
      {"assign-references", "@01=@02*@03\n"},
      {"assign-negative", "@99=-12\n"},
      {"assign-bad-operator", "@05=7%2\n"},
      {"if-reference", "if\"@01>@02,yes,no\"\n"},
      {"if-missing-no", "if\"@01=3,yes\n"},
      {"unclosed", "text_write\"abc,1,2\n"},
      {"two-quotes", "message\"a\"b\"\n"},
      {"long-word", "abcdefghijklmnopqrstuvwxyz0123456789\"1\"\n"},
      {"references-cut", "get_mouse_position\"@0\n"},
  };
  for (const auto& o : odd) seed("statement", o[0], o[1]);
  seed("statement", "long-line", "message\"" + std::string(250, 'x') + "\"\n");
}

void mci_commands() {
  const char* const commands[][2] = {
      {"open", "open .\\data\\theme.mid type sequencer alias myseq"},
      {"open-quoted",
       "open \"C:\\my type\\a b.mid\" type sequencer notify alias myseq"},
      {"open-capitals", "OPEN x.mid TYPE Sequencer ALIAS Foo NOTIFY"},
      {"open-waveaudio", "open x.wav type waveaudio alias w"},
      {"open-no-alias", "open x.mid type sequencer"},
      {"play", "play myseq notify"},
      {"close", "close myseq"},
      {"status", "status myseq mode"},
      {"tabs", "\tplay\tmyseq\t"},
  };
  for (const auto& c : commands) seed("mci_command", c[0], c[1]);
}

void midi_lengths() {
  using mowa::test::MidiTrack;
  const std::string song = mowa::test::one_note_midi(300, 50);
  seed("midi_length", "rmid",
       "RIFF" + le(static_cast<std::int64_t>(song.size()) + 12, 4) +
           "RMIDdata" + le(static_cast<std::int64_t>(song.size()), 4) + song);
  // 25 frames a second of 40 ticks.
  seed("midi_length", "smpte",
       mowa::test::midi_file(
           0, 0xE728, {MidiTrack().note_on(0, 60).note_off(1000, 60).end(0)}));
  seed("midi_length", "tempo-map",
       mowa::test::midi_file(
           1, 96,
           {MidiTrack()
                .tempo(0, 400000)
                .tempo(96, 800000)
                .tempo(0, 300000)
                .end(200),
            MidiTrack()
                .note_on(10, 64)
                .raw(std::string("\x20\x40\x00", 3))
                .raw(std::string("\x00\xF0\x03\x7E\x7F\xF7", 6))
                .end(0)}));
}

void cp932_texts() {
  seed("cp932", "japanese",
       mowa::base::utf8_to_cp932("もわもわの　はらっぱ！ｶﾅ①Ⅹ"));
  seed("cp932", "utf8", "もわ ÷ €");
  seed("cp932", "two-spellings",
       "\xED\x40\xFA\x5C\x87\x9B\x81\xBE");  // NEC and IBM rows
  seed("cp932", "broken", "ab\x85\x40\xA0\xFD\x81");
}

// The dap_reader target's form: one byte choosing the piece size, then the
// stream as an editor writes it.
std::string framed(const std::string& body) {
  return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

void dap_seed(const std::string& name, char piece, const std::string& stream) {
  seed("dap_reader", name, std::string(1, piece) + stream);
}

void dap_messages() {
  const std::string initialize =
      R"({"seq":1,"type":"request","command":"initialize",)"
      R"("arguments":{"adapterID":"mowa","linesStartAt1":true}})";
  const std::string breakpoints =
      R"({"seq":2,"type":"request","command":"setBreakpoints","arguments":)"
      R"({"source":{"path":"/もわ/data/mowa.snr"},"breakpoints":)"
      R"([{"line":4,"condition":"@01=3","hitCondition":">=2"}]}})";
  dap_seed("initialize", 63, framed(initialize));
  dap_seed("two-in-one-piece", 63, framed(initialize) + framed(breakpoints));
  dap_seed("byte-by-byte", 0, framed(breakpoints));
  dap_seed("more-headers", 16,
           "Content-Type: application/json\r\n" + framed("{}"));
  dap_seed("bad-json", 5, framed(R"({"seq":1,)") + framed("[]"));
  dap_seed("no-length", 7, "Content-Type: x\r\n\r\n{}" + framed("{}"));
  dap_seed("bad-length", 7, "Content-Length: -3\r\n\r\n{}");
  dap_seed("huge-length", 7, "Content-Length: 99999999999999999999\r\n\r\n{}");
  dap_seed("bare-newlines", 3, "Content-Length: 2\n\n{}");
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
  bmp_files();
  statements();
  mci_commands();
  midi_lengths();
  cp932_texts();
  dap_messages();
  return 0;
}
