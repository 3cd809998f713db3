// Labels and jumps: the label table as the engine builds it, the label lines
// no jump can reach, and jumps to names that are not there.
#include "lint/linter.h"

namespace mowa::lint {

namespace {

// The name of a label line: what lies between "[" and the first "]" (or the
// line's end).
std::string label_name(const std::string& line) {
  const std::string shown = without_newline(line);
  const std::size_t close = shown.find(']');
  return shown.substr(1,
                      (close == std::string::npos ? shown.size() : close) - 1);
}

}  // namespace

void Linter::build_labels() {
  // The table's 20-byte entry holds "[NAME]", the line feed and the end mark.
  constexpr std::size_t kNameBytes = engine::kLabelBytes - 4;
  int next = 0;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::string& bytes = lines_[i].bytes;
    const auto number = static_cast<std::int32_t>(i + 1);
    const std::string shown = without_newline(bytes);
    switch (engine::store_label_line(labels_, next, bytes.c_str(), number)) {
      case engine::LabelLine::not_a_label:
        continue;
      case engine::LabelLine::too_long: {
        const std::string name = label_name(bytes);
        const std::string why =
            name.size() > kNameBytes
                ? "the label name " + in_quotes(name) + " is " +
                      std::to_string(name.size()) +
                      " bytes"
                      "; a label name has at most 16 bytes"
                : "the label line " + in_quotes(shown) +
                      " has text after ']', which makes it too long";
        add_at(i, 0, "label-too-long",
               why + ", so it is not entered in the label table", shown);
        continue;
      }
      case engine::LabelLine::table_full:
        add_at(i, 0, "too-many-labels",
               "the label table holds 1000 labels; " + in_quotes(shown) +
                   " is not entered",
               shown);
        continue;
      case engine::LabelLine::stored:
        break;
    }
    check_label_form(i);
  }
}

void Linter::check_label_form(std::size_t i) {
  const std::string& bytes = lines_[i].bytes;
  const std::size_t close = bytes.find(']');
  const std::string shown = without_newline(bytes);
  const std::string name = label_name(bytes);
  if (close == std::string::npos || close + 1 < shown.size()) {
    const std::size_t at =
        close == std::string::npos ? shown.size() : close + 1;
    add_at(i, at, "label-trailing-text",
           "the label line " + in_quotes(shown) +
               " has more than \"[NAME]\" on it; no jump can reach it",
           shown);
    return;
  }
  if (bytes.back() != '\n') {
    add_at(i, 0, "label-no-newline",
           "the label " + in_quotes(shown) +
               " ends the file without a line feed; no jump can reach it",
           shown);
    return;
  }
  if (name.find_first_of(" \t") != std::string::npos) {
    add_at(i, 1 + name.find_first_of(" \t"), "label-blank",
           "the label name " + in_quotes(name) +
               " holds blanks, which jumps lose; no jump can reach it",
           name);
    return;
  }
  const auto [first, fresh] = first_label_of_.emplace(bytes, i);
  if (!fresh) {
    add_at(i, 0, "duplicate-label",
           "a second label " + in_quotes(shown) +
               "; jumps go to the one on line " +
               std::to_string(lines_[first->second].physical),
           shown);
    return;
  }
  named_labels_.push_back(i);
}

// The script pointer after a jump to `label`, or 0 when no label has that
// name (reported).
std::int32_t Linter::jump_to(std::size_t index, std::size_t at,
                             std::string label) {
  if (label.size() > static_cast<std::size_t>(engine::kWordBytes))
    label.resize(engine::kWordBytes);
  const int entry = engine::find_label(labels_, label.c_str());
  if (entry >= 0) {
    targeted_.insert(labels_.lines[entry]);
    return labels_.lines[entry] + 1;
  }
  std::string why = "there is no label " + in_quotes("[" + label + "]");
  const std::string hint = near_label(label);
  if (!hint.empty())
    why += " (a label written " + in_quotes(hint) +
           " cannot be reached: " + "see its own finding)";
  why += "; the run ends here";
  if (const std::string near = nearest_label(label);
      hint.empty() && !near.empty())
    why += "; did you mean " + in_quotes(near) + "?";
  add_at(index, at, "missing-label", why, label);
  return 0;
}

// A label line of that name, or whose name matches with blanks removed and
// brackets trimmed: a label that is there but cannot be found. Only the
// jump's own name was looked up, so even "[NAME]" itself was not entered.
std::string Linter::near_label(const std::string& name) const {
  for (const Line& l : lines_) {
    if (l.bytes.empty() || l.bytes[0] != '[') continue;
    std::string squeezed;
    for (char c : without_newline(l.bytes))
      if (c != ' ' && c != '\t') squeezed += c;
    if (squeezed == "[" + name + "]" || label_name(l.bytes) == name)
      return without_newline(l.bytes);
  }
  return {};
}

// The reachable label nearest to a name no label has, chosen as commands
// are: one that differs only in letter case, else one at most two edits
// away (one for short names).
std::string Linter::nearest_label(const std::string& name) const {
  std::string best;
  int best_distance = name.size() <= 4 ? 1 : 2;
  const auto lower = [](std::string s) {
    for (char& ch : s)
      if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return s;
  };
  for (std::size_t i : named_labels_) {
    const std::string label = label_name(lines_[i].bytes);
    const int d = lower(label) == lower(name) ? 0 : edit_distance(name, label);
    if (d < best_distance || (d == best_distance && best.empty())) {
      best = label;
      best_distance = d;
    }
  }
  return best;
}

void Linter::report_unused_labels() {
  for (std::size_t i : named_labels_) {
    const auto line_number = static_cast<std::int32_t>(i + 1);
    if (targeted_.count(line_number)) continue;
    add_at(i, 0, "unused-label",
           "no jump names the label " +
               in_quotes(without_newline(lines_[i].bytes)),
           without_newline(lines_[i].bytes));
  }
}

void Linter::check_comment(std::size_t index) {
  const std::string& b = lines_[index].bytes;
  const std::size_t first = b.find_first_not_of(" \t");
  if (b[first] == '#' || (first == 0 && b[0] == '[')) return;
  if (b[first] == '[') {
    add_at(index, first, "label-indented",
           "a label after blanks is skipped but never entered in the label "
           "table; "
           "write it at the start of the line",
           without_newline(b.substr(first)));
    return;
  }
  std::size_t at = 1;
  while (!((b[at] == '#' || b[at] == '[') &&
           (b[at - 1] == ' ' || b[at - 1] == '\t')))
    ++at;
  add_at(index, at, "comment-statement",
         std::string("a blank before \"") + b[at] +
             "\" makes the whole line a comment, so this statement never runs; "
             "remove the blank",
         without_newline(b));
}

}  // namespace mowa::lint
