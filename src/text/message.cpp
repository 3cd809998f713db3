#include "text/text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "graphics/composition.h"
#include "graphics/graphics.h"
#include "report/error_box.h"

namespace mowa::text {
namespace {

constexpr std::int64_t kFirstColumnX = 54;
constexpr std::int64_t kColumnWidth = 25;
constexpr std::int64_t kFirstLineY = 348;
constexpr std::int64_t kLineHeight = 32;
constexpr pf::ColorRef kWhite = 0xFFFFFF;
constexpr pf::Dword kFrameDelay_ms = 30;
constexpr unsigned char kLineBreak = '/';
constexpr unsigned char kColourEscape = 'c';
constexpr std::size_t kEscapeDigits = 6;
constexpr unsigned char kFirstHalfWidthKana = 0xA1;
constexpr unsigned char kLastHalfWidthKana = 0xDF;

// The frames and the release of each animation report under two captions
// that differ only in their first letter ("Message_in", "message_in"): kept
// on purpose, since scenario writers and their players know the boxes so.
constexpr char kWriteCaption[] = "message_write";
constexpr char kInFrameCaption[] = "Message_in";
constexpr char kInCaption[] = "message_in";
constexpr char kOutFrameCaption[] = "Message_out";
constexpr char kOutCaption[] = "message_out";

int to_coordinate(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(
      v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// The member of the font set drawn at `height`; null (which selecting then
// reports) for a height the set does not hold.
pf::Hfont font_of_height(const Text& t, int height) {
  const int member = height / 4;
  if (member < 1 || member > kFontCount) return nullptr;
  return t.fonts[member - 1];
}

// Only 0-9 and a-f are digits; any other byte, upper-case A-F among them,
// counts as 16, so a mistyped escape still gives some colour.
std::uint32_t escape_digit(unsigned char b) {
  if (b >= '0' && b <= '9') return b - '0';
  if (b >= 'a' && b <= 'f') return b - 'a' + 10u;
  return 16;
}

// Three digit pairs, high byte first: "c0000ff" is red, "cff0000" blue.
pf::ColorRef escape_colour(const unsigned char* digits) {
  std::uint32_t colour = 0;
  for (std::size_t pair = 0; pair < kEscapeDigits; pair += 2)
    colour = colour * 256 + 16 * escape_digit(digits[pair]) +
             escape_digit(digits[pair + 1]);
  return colour;
}

// The picture comes back under the text of the frame before, then the
// window palette is made current again.
void frame_picture(Text& t, pf::Hdc hdc, const char* caption) {
  graphics::showdib(t.graphics, hdc, t.graphics.screen_image);
  if (t.gdi.SelectPalette(hdc, t.graphics.window_palette, pf::kFalse) ==
      nullptr)
    call_failed(t.report, caption, "SelectPalette");
  if (t.gdi.RealizePalette(hdc) == pf::GDI_ERROR)
    call_failed(t.report, caption, "RealizePalette");
}

// The stored text holds one script line: at most kMessageBytes - 1 bytes.
void store_message(Text& t, const char* text) {
  std::size_t length = 0;
  while (text != nullptr && length < kMessageBytes - 1 && text[length] != '\0')
    ++length;
  if (length > 0) std::memmove(t.message, text, length);
  t.message[length] = '\0';
}

}  // namespace

void message_write(Text& t, pf::Hdc hdc, const char* text, int height) {
  pf::GdiService& gdi = t.gdi;
  if (gdi.SetBkMode(hdc, pf::TRANSPARENT) == 0)
    call_failed(t.report, kWriteCaption, "SetBkMode");
  if (gdi.SelectObject(hdc, font_of_height(t, height)) == nullptr)
    call_failed(t.report, kWriteCaption, "SelectObject");
  if (gdi.SetTextColor(hdc, kWhite) == pf::CLR_INVALID)
    call_failed(t.report, kWriteCaption, "SetTextColor");
  // The paint that may follow must not draw the picture over the text.
  graphics::text_drawn(t.graphics);
  if (text == nullptr) return;

  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  const std::size_t length = std::strlen(text);
  const std::int64_t centring = (kLineHeight - height) / 2;
  std::int64_t column = 0;
  std::int64_t line = 0;
  std::size_t i = 0;
  while (i < length) {
    const unsigned char b = bytes[i];
    if (b >= 0x81) {
      // Half-width katakana are characters of one byte; every other byte
      // from 0x81 opens a two-byte character.
      const std::size_t bytes_of_character =
          b >= kFirstHalfWidthKana && b <= kLastHalfWidthKana ? 1 : 2;
      // A lead byte that the end of the text cuts off is not drawn.
      if (length - i < bytes_of_character) break;
      const int x = to_coordinate(kFirstColumnX + kColumnWidth * column);
      const int y = to_coordinate(kFirstLineY + kLineHeight * line + centring);
      if (gdi.TextOutA(hdc, x, y, text + i,
                       static_cast<int>(bytes_of_character)) == pf::kFalse)
        call_failed(t.report, kWriteCaption, "TextOut");
      ++column;
      i += bytes_of_character;
    } else if (b == kLineBreak) {
      ++line;
      column = 0;
      ++i;
    } else if (b == kColourEscape) {
      // An escape that the end of the text cuts short ends the layout: its
      // digits would lie beyond the text.
      if (length - i - 1 < kEscapeDigits) break;
      if (gdi.SetTextColor(hdc, escape_colour(bytes + i + 1)) ==
          pf::CLR_INVALID)
        call_failed(t.report, kWriteCaption, "SetTextColor");
      i += 1 + kEscapeDigits;
    } else {
      ++i;  // ASCII and 0x80 never show in the message window
    }
  }
}

void message_in(Text& t, const char* text) {
  store_message(t, text);
  const graphics::WindowDc dc(t.graphics, kInFrameCaption,
                              graphics::WindowDc::Release::kAlways, kInCaption);
  const pf::Hdc hdc = dc.get();
  for (int height = 4; height <= 28; height += 4) {
    frame_picture(t, hdc, kInFrameCaption);
    message_write(t, hdc, t.message, height);
    t.clock.Sleep(kFrameDelay_ms);
  }
  // No repaint: the last frame's text stays until the picture is next drawn.
}

void message_out(Text& t) {
  const graphics::WindowDc dc(t.graphics, kOutFrameCaption,
                              graphics::WindowDc::Release::kAlways,
                              kOutCaption);
  const pf::Hdc hdc = dc.get();
  for (int height = 24; height >= 4; height -= 4) {
    frame_picture(t, hdc, kOutFrameCaption);
    message_write(t, hdc, t.message, height);
    t.clock.Sleep(kFrameDelay_ms);
  }
  frame_picture(t, hdc, kOutFrameCaption);
  // The repaint flag is clear after message_write: this paint only makes the
  // palette current.
  graphics::request_repaint(t.graphics, kOutCaption);
}

}  // namespace mowa::text
