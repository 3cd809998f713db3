// The paths through the scenario: every way the run can go from the first
// line, with the return slot and the colours the window has on each.
#include <cstdio>
#include <tuple>

#include "lint/linter.h"

namespace mowa::lint {

namespace {

// The window's palette on a path: none yet, one whose picture is not known
// (a fade, a refused file), or the colours of pictures_[n].
constexpr int kNoPalette = -2;

std::string hex(const bmp::Colour& c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red, c.green, c.blue);
  return text;
}

}  // namespace

// The statement the engine runs at script pointer `pointer`, or -1 at the
// end of the file.
long Linter::statement_at(std::int32_t pointer) const {
  std::size_t i = pointer <= 1 ? 0 : static_cast<std::size_t>(pointer - 1);
  while (i < kinds_.size() && kinds_[i] != LineKind::statement) ++i;
  return i < kinds_.size() ? static_cast<long>(i) : -1;
}

// Walks every path from the first line with the return slot, whether a
// gosub still waits for its return and the window's palette; reports the
// statements after which the file ends, the gosubs that overwrite a pending
// return, messages shown with no palette and sprites drawn over a picture
// of other colours.
void Linter::follow_flow() {
  struct State {
    std::int32_t pointer;
    std::int32_t slot;
    bool pending;
    int palette;
    std::int32_t from;  // the statement before, as a line index, or -1
    bool operator<(const State& o) const {
      return std::tie(pointer, slot, pending, palette) <
             std::tie(o.pointer, o.slot, o.pending, o.palette);
    }
  };
  std::set<State> seen;
  std::vector<State> todo{{1, 0, false, kNoPalette, -1}};
  std::set<long> ended_after, nested, no_palette, miscoloured;
  while (!todo.empty()) {
    const State st = todo.back();
    todo.pop_back();
    const long at = statement_at(st.pointer);
    if (at < 0) {
      if (ended_after.insert(st.from).second) report_no_end(st.from);
      continue;
    }
    if (!seen.insert({static_cast<std::int32_t>(at + 1), st.slot, st.pending,
                      st.palette, 0})
             .second)
      continue;
    const Flow& f = flows_[static_cast<std::size_t>(at)];
    if (f.needs_palette && st.palette == kNoPalette &&
        no_palette.insert(at).second)
      report_no_palette(at);
    if (f.sprite >= 0 && st.palette >= 0 && !miscoloured.count(at)) {
      const int index = colour_mismatch(f.sprite, st.palette, f.opaque);
      if (index >= 0) {
        miscoloured.insert(at);
        report_sprite_colours(at, st.palette, index);
      }
    }
    int palette = st.palette;
    if (f.palette == Flow::loads) palette = f.picture;
    if (f.palette == Flow::fades && palette == kNoPalette) palette = kUnknown;
    const auto next = static_cast<std::int32_t>(at + 2);
    const auto here = static_cast<std::int32_t>(at);
    auto go = [&](std::int32_t pointer, std::int32_t slot, bool pending) {
      todo.push_back({pointer, slot, pending, palette, here});
    };
    switch (f.kind) {
      case Flow::fall:
        go(next, st.slot, st.pending);
        break;
      case Flow::jump:
        if (f.to[0]) go(f.to[0], st.slot, st.pending);
        break;
      case Flow::branch:
        for (std::int32_t to : f.to)
          if (to) go(to, st.slot, st.pending);
        break;
      case Flow::call:
        if (st.pending && nested.insert(at).second)
          add_at(
              static_cast<std::size_t>(at), 0, "nested-gosub",
              "this gosub can run while the one on line " +
                  std::to_string(
                      lines_[static_cast<std::size_t>(st.slot - 2)].physical) +
                  " still waits for its return; there is one return slot, so "
                  "that "
                  "return comes back here instead",
              without_newline(lines_[static_cast<std::size_t>(at)].bytes));
        if (f.to[0]) go(f.to[0], next, true);
        break;
      case Flow::back:
        go(st.slot, st.slot, false);
        break;
      case Flow::stop:
        break;
    }
  }
}

void Linter::report_no_end(long after) {
  if (after < 0) {
    add(1, 1, "no-end", "the scenario has no statement to run", "");
    return;
  }
  const auto i = static_cast<std::size_t>(after);
  add_at(i, 0, "no-end",
         "after this statement the run can reach the end of the file without "
         "end; add end where the story stops",
         without_newline(lines_[i].bytes));
}

// Each frame of the message animation selects the window palette, which
// only a picture loaded (or a fade) makes.
void Linter::report_no_palette(long at) {
  const auto i = static_cast<std::size_t>(at);
  const std::string& line = lines_[i].bytes;
  add_at(i, line.find_first_not_of(" \t"), "message-no-picture",
         "the message window can open here before any picture was loaded: "
         "with no palette to select, each of its 7 frames shows the box "
         "\"SelectPaletteに失敗しました。\"; load a picture with gload "
         "first",
         without_newline(line.substr(line.find_first_not_of(" \t"))));
}

void Linter::report_sprite_colours(long at, int picture, int index) {
  const Flow& f = flows_[static_cast<std::size_t>(at)];
  const Colours& sprite = sprites_[static_cast<std::size_t>(f.sprite)];
  const Colours& shown = pictures_[static_cast<std::size_t>(picture)];
  const bmp::Colour meant = sprite.table[static_cast<std::size_t>(index)];
  const bmp::Colour seen = static_cast<std::size_t>(index) < shown.table.size()
                               ? shown.table[static_cast<std::size_t>(index)]
                               : bmp::Colour{};
  add_at(static_cast<std::size_t>(at), f.sprite_byte, "sprite-palette",
         "the sprite " + in_quotes(sprite.file) + " can be drawn over " +
             in_quotes(shown.file) +
             ", whose palette differs from the sprite's colour table: a "
             "sprite's own colours are ignored, so its colour " +
             std::to_string(index) + ", " + hex(meant) + ", shows as " +
             hex(seen) +
             ". Make the sprite with the pictures' palette (-remap)",
         sprite.file);
}

}  // namespace mowa::lint
