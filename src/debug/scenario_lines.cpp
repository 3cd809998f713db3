#include "debug/scenario_lines.h"

#include <algorithm>

#include "engine/label_table.h"
#include "engine/script.h"

namespace mowa::debug {

bool ScenarioLines::read(pf::FileService& files) {
  pieces_.clear();
  pf::Stream* file = files.fopen(engine::kScenarioPath, "rt");
  if (!file) return false;
  char line[engine::kStatementBytes] = {};
  int physical = 1;
  while (file->fgets(line, engine::kLineBytes)) {
    const std::string piece = line;
    const bool statement =
        !engine::is_empty_line(line) && !engine::is_comment_or_label_line(line);
    pieces_.push_back({physical, statement, piece});
    if (!piece.empty() && piece.back() == '\n') ++physical;
  }
  files.fclose(file);
  return true;
}

int ScenarioLines::physical(std::int32_t pointer_line) const {
  if (pointer_line < 1 || pointer_line > count()) return 0;
  return pieces_[pointer_line - 1].physical;
}

std::int32_t ScenarioLines::statement_at_or_after(int physical_line) const {
  for (std::int32_t i = 0; i < count(); ++i)
    if (pieces_[i].physical >= physical_line && pieces_[i].statement)
      return i + 1;
  return 0;
}

std::int32_t ScenarioLines::statement_from(std::int32_t pointer) const {
  for (std::int32_t i = pointer < 1 ? 0 : pointer - 1; i < count(); ++i)
    if (pieces_[i].statement) return i + 1;
  return 0;
}

std::string ScenarioLines::label_above(std::int32_t pointer_line) const {
  for (std::int32_t i = std::min(pointer_line, count()) - 1; i >= 0; --i) {
    const std::string& t = pieces_[i].text;
    if (!t.empty() && t[0] == '[') {
      const auto close = t.find(']');
      return t.substr(1, close == std::string::npos ? t.size() - 1 : close - 1);
    }
  }
  return "";
}

std::string ScenarioLines::text(std::int32_t pointer_line) const {
  if (pointer_line < 1 || pointer_line > count()) return "";
  std::string t = pieces_[pointer_line - 1].text;
  if (!t.empty() && t.back() == '\n') t.pop_back();
  return t;
}

}  // namespace mowa::debug
