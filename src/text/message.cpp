#include "text/message.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "graphics/composition.h"
#include "shell/error_box.h"

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
// that differ only in their first letter; the boxes have always read so.
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
pf::Hfont font_of_height(const Program& p, int height) {
  const int member = height / 4;
  if (member < 1 || member > kFontCount) return nullptr;
  return p.text.fonts[member - 1];
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
void frame_picture(Program& p, pf::Hdc hdc, const char* caption) {
  graphics::showdib(p, hdc, p.gfx.screen_image);
  if (p.pf.gdi.SelectPalette(hdc, p.gfx.window_palette, pf::kFalse) ==
      nullptr)
    call_failed(p, caption, "SelectPalette");
  if (p.pf.gdi.RealizePalette(hdc) == pf::GDI_ERROR)
    call_failed(p, caption, "RealizePalette");
}

// The stored text holds one script line: at most kMessageBytes - 1 bytes.
void store_message(Program& p, const char* text) {
  std::size_t length = 0;
  while (text != nullptr && length < kMessageBytes - 1 && text[length] != '\0')
    ++length;
  if (length > 0) std::memmove(p.text.message, text, length);
  p.text.message[length] = '\0';
}

}  // namespace

void message_write(Program& p, pf::Hdc hdc, const char* text, int height) {
  pf::GdiService& gdi = p.pf.gdi;
  if (gdi.SetBkMode(hdc, pf::TRANSPARENT) == 0)
    call_failed(p, kWriteCaption, "SetBkMode");
  if (gdi.SelectObject(hdc, font_of_height(p, height)) == nullptr)
    call_failed(p, kWriteCaption, "SelectObject");
  if (gdi.SetTextColor(hdc, kWhite) == pf::CLR_INVALID)
    call_failed(p, kWriteCaption, "SetTextColor");
  // The paint that may follow must not draw the picture over the text.
  p.gfx.repaint = 0;
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
      const int y =
          to_coordinate(kFirstLineY + kLineHeight * line + centring);
      if (gdi.TextOutA(hdc, x, y, text + i,
                       static_cast<int>(bytes_of_character)) == pf::kFalse)
        call_failed(p, kWriteCaption, "TextOut");
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
        call_failed(p, kWriteCaption, "SetTextColor");
      i += 1 + kEscapeDigits;
    } else {
      ++i;  // ASCII and 0x80 never show in the message window
    }
  }
}

void message_in(Program& p, const char* text) {
  store_message(p, text);
  const pf::Hwnd window = p.shell.main_window;
  const pf::Hdc hdc = p.pf.window.GetDC(window);
  if (hdc == nullptr) call_failed(p, kInFrameCaption, "GetDC");
  for (int height = 4; height <= 28; height += 4) {
    frame_picture(p, hdc, kInFrameCaption);
    message_write(p, hdc, p.text.message, height);
    p.pf.clock.Sleep(kFrameDelay_ms);
  }
  // No repaint: the last frame's text stays until the picture is next drawn.
  if (p.pf.window.ReleaseDC(window, hdc) == 0)
    call_failed(p, kInCaption, "ReleaseDC");
}

void message_out(Program& p) {
  const pf::Hwnd window = p.shell.main_window;
  const pf::Hdc hdc = p.pf.window.GetDC(window);
  if (hdc == nullptr) call_failed(p, kOutFrameCaption, "GetDC");
  for (int height = 24; height >= 4; height -= 4) {
    frame_picture(p, hdc, kOutFrameCaption);
    message_write(p, hdc, p.text.message, height);
    p.pf.clock.Sleep(kFrameDelay_ms);
  }
  frame_picture(p, hdc, kOutFrameCaption);
  // The repaint flag is clear after message_write: this paint only makes the
  // palette current.
  if (p.pf.window.InvalidateRect(window, nullptr, pf::kFalse) == pf::kFalse)
    call_failed(p, kOutCaption, "InvalidateRect");
  if (p.pf.window.UpdateWindow(window) == pf::kFalse)
    call_failed(p, kOutCaption, "UpdateWindow");
  if (p.pf.window.ReleaseDC(window, hdc) == 0)
    call_failed(p, kOutCaption, "ReleaseDC");
}

}  // namespace mowa::text
