// What a message frame and a written number cost on top of their pauses:
// the layout of one full line at the tallest frame height, and the font that
// number_write makes and deletes for every call.
#include <benchmark/benchmark.h>

#include <cstring>

#include "platform/headless/headless_platform.h"
#include "report/texts.h"
#include "shell/program.h"
#include "text/text.h"

namespace mowa {
namespace {

// 20 characters, a colour escape and a line break, in code page 932.
constexpr char kLine[] =
    "\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8\x82\xa9\x82\xab\x82\xad\x82\xaf"
    "\x82\xb1/c0000ff\x82\xb3\x82\xb5\x82\xb7\x82\xb9\x82\xbb\x82\xbd\x82\xbf"
    "\x82\xc2\x82\xc4\x82\xc6";

void BM_MessageWriteFullLine(benchmark::State& state) {
  pf::HeadlessPlatform hp(nullptr);
  Program p(hp.platform());
  text::font_set_create(p.text);
  pf::Surface surface(640, 480);
  const pf::Hdc dc = hp.gdi.open_dc(&surface);
  for (auto _ : state) {
    text::message_write(p.text, dc, kLine, static_cast<int>(state.range(0)));
    benchmark::ClobberMemory();
  }
  hp.gdi.close_dc(dc);
  text::font_set_release(p.text);
}
BENCHMARK(BM_MessageWriteFullLine)->Arg(4)->Arg(28);

// The call font of number_write: made, drawn with once, deleted.
void BM_CallFontMadeAndDeleted(benchmark::State& state) {
  pf::HeadlessPlatform hp(nullptr);
  pf::Surface surface(640, 480);
  const pf::Hdc dc = hp.gdi.open_dc(&surface);
  pf::LogFontA lf{};
  lf.lfHeight = -24;
  lf.lfWidth = 14;
  lf.lfWeight = 1000;
  lf.lfCharSet = pf::SHIFTJIS_CHARSET;
  std::memcpy(lf.lfFaceName, texts::kFontFace, sizeof texts::kFontFace);
  for (auto _ : state) {
    const pf::Hfont font = hp.gdi.CreateFontIndirectA(&lf);
    const pf::Hgdiobj kept = hp.gdi.SelectObject(dc, font);
    hp.gdi.TextOutA(dc, 100, 100, "-2147483648", 11);
    hp.gdi.SelectObject(dc, kept);
    hp.gdi.DeleteObject(font);
  }
  hp.gdi.close_dc(dc);
}
BENCHMARK(BM_CallFontMadeAndDeleted);

}  // namespace
}  // namespace mowa
