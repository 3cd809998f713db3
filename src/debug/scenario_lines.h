// The scenario file as the editor shows it and as the engine counts it. The
// engine counts 255-byte pieces: a physical line of more than 254 bytes is
// two (or more) lines to the script pointer, one line to the editor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace mowa::debug {

class ScenarioLines {
 public:
  // Reads the scenario file through `files` as the interpreter reads it.
  // False when it cannot be opened (the lines are then empty).
  bool read(pf::FileService& files);

  // The editor's line (from 1) of a script pointer line; 0 if none.
  int physical(std::int32_t pointer_line) const;
  // The first statement the interpreter runs at or after the editor's line
  // `physical_line`; 0 when no statement follows.
  std::int32_t statement_at_or_after(int physical_line) const;
  // The statement the interpreter runs next from script pointer `pointer`.
  std::int32_t statement_from(std::int32_t pointer) const;
  // The nearest label line's name above `pointer_line`, or "".
  std::string label_above(std::int32_t pointer_line) const;
  // The text of a line as read, without its line feed (for frame names).
  std::string text(std::int32_t pointer_line) const;
  std::int32_t count() const {
    return static_cast<std::int32_t>(pieces_.size());
  }

 private:
  struct Piece {
    int physical;
    bool statement;
    std::string text;
  };
  std::vector<Piece> pieces_;  // [n - 1]: script pointer line n
};

}  // namespace mowa::debug
