#include "platform/softgdi/box_picture.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/softgdi/draw_area.h"

namespace mowa::pf {
namespace {

constexpr Long kBoxFontHeight_px = 16;
constexpr int kMargin = 14;
constexpr int kSignSize = 32;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;
constexpr int kMinWidth = 240;
constexpr int kLineGap = 3;
// A box never grows past the 640x480 of a screen in the program's mode.
constexpr int kLargestBoxWidth = 640;
constexpr int kLargestBoxHeight = 480;
// A fallback cell height when no font can be opened.
constexpr int kPlainCellHeight = 16;

constexpr std::uint32_t kBody = 0xF0F0F0;
constexpr std::uint32_t kFrame = 0x505050;
constexpr std::uint32_t kCaptionBar = 0x1F4E8C;
constexpr std::uint32_t kCaptionText = 0xFFFFFF;
constexpr std::uint32_t kText = 0x000000;
constexpr std::uint32_t kButtonFace = 0xE1E1E1;
constexpr std::uint32_t kButtonPressed = 0xC4D6EA;
constexpr std::uint32_t kButtonEdge = 0x1F4E8C;
constexpr std::uint32_t kSignEdge = 0x7A5C00;
constexpr std::uint32_t kSignFace = 0xFFCC1A;

void fill(Surface& s, int left, int top, int right, int bottom,
          std::uint32_t rgb) {
  const DrawArea area = drawable_area(s);
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, area.width);
  bottom = std::min(bottom, area.height);
  if (right <= left) return;
  for (int y = top; y < bottom; ++y)
    std::fill_n(
        s.pixels.begin() + static_cast<std::ptrdiff_t>(area.index(left, y)),
        right - left, rgb);
  s.changed = true;
}

void fill(Surface& s, const Rect& r, std::uint32_t rgb) {
  fill(s, r.left, r.top, r.right, r.bottom, rgb);
}

void frame(Surface& s, const Rect& r, std::uint32_t rgb) {
  fill(s, r.left, r.top, r.right, r.top + 1, rgb);
  fill(s, r.left, r.bottom - 1, r.right, r.bottom, rgb);
  fill(s, r.left, r.top, r.left + 1, r.bottom, rgb);
  fill(s, r.right - 1, r.top, r.right, r.bottom, rgb);
}

// A warning triangle with an exclamation mark in the square `at`.
void draw_sign(Surface& s, const Rect& at) {
  const int size = at.right - at.left;
  const int centre = at.left + size / 2;
  for (int row = 0; row < size; ++row) {
    const int half = 1 + row * (size / 2 - 1) / (size - 1);
    const int y = at.top + row;
    fill(s, centre - half, y, centre + half, y + 1, kSignEdge);
    if (row >= 3 && row < size - 2 && half > 2)
      fill(s, centre - half + 2, y, centre + half - 2, y + 1, kSignFace);
  }
  fill(s, centre - 2, at.top + size * 9 / 32, centre + 2,
       at.top + size * 22 / 32, kText);
  fill(s, centre - 2, at.top + size * 24 / 32, centre + 2,
       at.top + size * 28 / 32, kText);
}

std::vector<std::string_view> split_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (;;) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

int measure(const RasterFont* font, std::string_view cp932) {
  if (!font) return 0;
  Surface nowhere;  // a 0x0 client: nothing is drawn, the advance is counted
  return font->draw(nowhere, 0, 0, cp932, 0, false, 0);
}

// Bytes of the code-page-932 character that starts with `lead`.
std::size_t character_bytes(unsigned char lead) {
  return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2
                                                                          : 1;
}

// `line` cut into pieces at most `most_px` wide: after the last space that
// fits when there is one, else before the character that does not fit.
void wrap(const RasterFont* font, std::string_view line, int most_px,
          std::vector<std::string>& out) {
  while (!line.empty()) {
    int width = 0;
    std::size_t end = 0, after_space = 0;
    while (end < line.size()) {
      const std::size_t n =
          std::min(character_bytes(line[end]), line.size() - end);
      const int w = measure(font, line.substr(end, n));
      if (end > 0 && width + w > most_px) break;
      width += w;
      end += n;
      if (line[end - 1] == ' ') after_space = end;
    }
    if (end < line.size() && after_space > 0) end = after_space;
    out.emplace_back(line.substr(0, end));
    line.remove_prefix(end);
  }
}

// The caption, cut before the character that would pass `most_px` and
// ended with an ellipsis, when it is too wide.
std::string shortened(const RasterFont* font, std::string_view caption,
                      int most_px) {
  if (measure(font, caption) <= most_px) return std::string(caption);
  constexpr std::string_view kEllipsis = "\x81\x63";  // … in code page 932
  const int room = most_px - measure(font, kEllipsis);
  std::size_t end = 0;
  int width = 0;
  while (end < caption.size()) {
    const std::size_t n =
        std::min(character_bytes(caption[end]), caption.size() - end);
    const int w = measure(font, caption.substr(end, n));
    if (width + w > room) break;
    width += w;
    end += n;
  }
  return std::string(caption.substr(0, end)) + std::string(kEllipsis);
}

void write(Surface& s, const RasterFont* font, int x, int y,
           std::string_view cp932, std::uint32_t rgb) {
  if (font) font->draw(s, x, y, cp932, rgb, false, 0);
}

}  // namespace

BoxLayout draw_box(Surface& surface, const RasterFont* font,
                   std::string_view caption_cp932, std::string_view text_cp932,
                   bool button_pressed) {
  const int cell = font ? std::max(font->cell_height(), 1) : kPlainCellHeight;
  const int text_left = kMargin + kSignSize + kMargin;
  const int most_text_width = kLargestBoxWidth - text_left - kMargin - 6;
  const int line_height = cell + kLineGap;
  const int bar_height = cell + 10;
  const int body_top = bar_height + kMargin;
  // What is left of the screen's height for lines under the caption bar and
  // over the button.
  const int most_lines =
      std::max(1, (kLargestBoxHeight - body_top - 2 * kMargin - 4 -
                   kButtonHeight + kLineGap) /
                      line_height);

  BoxLayout l;
  for (const auto line : split_lines(text_cp932)) {
    if (line.empty()) l.lines.emplace_back();
    wrap(font, line, most_text_width, l.lines);
  }
  // Lines past the screen's bottom are left out; the last shown says so.
  if (static_cast<int>(l.lines.size()) > most_lines) {
    l.lines.resize(static_cast<std::size_t>(most_lines));
    l.lines.back() =
        shortened(font, l.lines.back() + "\x81\x63\x81\x63", most_text_width);
  }
  int text_width = 0;
  for (const auto& line : l.lines)
    text_width = std::max(text_width, measure(font, line));
  const int text_height =
      static_cast<int>(l.lines.size()) * line_height - kLineGap;

  const int content_height = std::max(kSignSize, text_height);
  l.width =
      std::clamp(std::max({kMinWidth, text_left + text_width + kMargin + 6,
                           measure(font, caption_cp932) + 2 * kMargin}),
                 0, kLargestBoxWidth);
  l.caption = shortened(font, caption_cp932, l.width - 2 * kMargin);
  const int button_top = body_top + content_height + kMargin + 4;
  l.height =
      std::clamp(button_top + kButtonHeight + kMargin, 0, kLargestBoxHeight);
  l.caption_bar = Rect{1, 1, l.width - 1, bar_height};
  l.sign = Rect{kMargin, body_top + (content_height - kSignSize) / 2,
                kMargin + kSignSize,
                body_top + (content_height - kSignSize) / 2 + kSignSize};
  l.text = Rect{text_left, body_top + (content_height - text_height) / 2,
                text_left + text_width,
                body_top + (content_height - text_height) / 2 + text_height};
  l.button = Rect{(l.width - kButtonWidth) / 2, button_top,
                  (l.width - kButtonWidth) / 2 + kButtonWidth,
                  button_top + kButtonHeight};

  surface.resize(l.width, l.height);
  fill(surface, 0, 0, l.width, l.height, kBody);
  frame(surface, Rect{0, 0, l.width, l.height}, kFrame);
  fill(surface, l.caption_bar, kCaptionBar);
  write(surface, font, kMargin / 2 + 2, 1 + (bar_height - 1 - cell) / 2,
        l.caption, kCaptionText);
  draw_sign(surface, l.sign);
  for (std::size_t i = 0; i < l.lines.size(); ++i)
    write(surface, font, l.text.left,
          l.text.top + static_cast<int>(i) * line_height, l.lines[i], kText);
  fill(surface, l.button, button_pressed ? kButtonPressed : kButtonFace);
  frame(surface, l.button, kButtonEdge);
  const int ok_width = measure(font, "OK");
  const int ok_offset = button_pressed ? 1 : 0;
  write(surface, font,
        l.button.left + (kButtonWidth - ok_width) / 2 + ok_offset,
        l.button.top + (kButtonHeight - cell) / 2 + ok_offset, "OK", kText);
  return l;
}

const RasterFont* BoxFont::get() {
  if (!tried_) {
    tried_ = true;
    fonts_ = std::make_unique<FontLibrary>();
    LogFontA lf{};
    lf.lfHeight = -kBoxFontHeight_px;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    font_ = fonts_->create(lf);  // no face named: the best Japanese gothic
  }
  return font_.get();
}

}  // namespace mowa::pf
