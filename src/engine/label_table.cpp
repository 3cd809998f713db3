#include "engine/label_table.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "report/error_box.h"
#include "report/texts.h"

namespace mowa::engine {
namespace {

constexpr char kSetLabelCaption[] = "script_set_label";

bool is_blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool is_empty_line(const char* line) {
  // A line of blanks alone counts as empty.
  while (is_blank(*line)) ++line;
  return *line == '\n' || *line == '\0';
}

bool is_comment_or_label_line(const char* line) {
  if (line[0] == '#' || line[0] == '[') return true;
  for (int i = 1; line[i] != '\0' && line[i] != '\n'; ++i)
    if ((line[i] == '#' || line[i] == '[') && is_blank(line[i - 1]))
      return true;
  return false;
}

LabelLine store_label_line(LabelTable& t, int& next, const char* line,
                           std::int32_t line_number) {
  if (line[0] != '[') return LabelLine::not_a_label;
  const std::size_t length = std::strlen(line);
  if (length + 1 > static_cast<std::size_t>(kLabelBytes))
    return LabelLine::too_long;
  if (next == kLabelCount) return LabelLine::table_full;
  t.lines[next] = line_number;
  std::memcpy(t.texts[next], line, length + 1);
  ++next;
  return LabelLine::stored;
}

int find_label(const LabelTable& t, const char* name) {
  char wanted[kWordBytes + 4];
  std::snprintf(wanted, sizeof wanted, "[%s]\n", name);
  for (int i = 0; i < kLabelCount; ++i)
    if (t.texts[i][0] != '\0' && std::strcmp(t.texts[i], wanted) == 0) return i;
  return -1;
}

void script_set_label(Script& sc) {
  LabelTable& t = sc.labels;
  t = LabelTable{};
  pf::Stream* file = sc.files.fopen(kScenarioPath, "rt");
  if (!file) {
    error_box(sc.report, kSetLabelCaption, texts::kScenarioNotFound);
    return;
  }
  char line[kLineBytes];
  int next = 0;
  bool reported_full = false;
  for (std::int32_t counter = 1; file->fgets(line, kLineBytes); ++counter) {
    switch (store_label_line(t, next, line, counter)) {
      case LabelLine::too_long: {
        std::string shown(line);
        if (!shown.empty() && shown.back() == '\n') shown.pop_back();
        error_box_with(sc.report, kSetLabelCaption, texts::kTooLongFmt,
                       shown.c_str());
        break;
      }
      case LabelLine::table_full:
        if (!reported_full)
          error_box(sc.report, kSetLabelCaption, texts::kTooManyLabels);
        reported_full = true;
        break;
      default:
        break;
    }
  }
  sc.files.fclose(file);
}

void script_seek(Script& sc, pf::Stream& file, std::int32_t n) {
  if (!sc.use_line_index) {
    file.rewind();
    char line[kLineBytes];
    for (std::int32_t i = 1; i < n; ++i)
      if (!file.fgets(line, kLineBytes)) break;
    return;
  }
  sc.line_index.seek(file, sc.versions.stamp(file), n);
}

bool script_search_label(Script& sc, const char* name) {
  const int entry = find_label(sc.labels, name);
  if (entry < 0) return false;
  sc.pointer = sc.labels.lines[entry] + 1;
  return true;
}

}  // namespace mowa::engine
