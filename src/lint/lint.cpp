#include "lint/lint.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "engine/argument_forms.h"
#include "engine/commands.h"
#include "engine/label_table.h"
#include "engine/statement_syntax.h"
#include "engine/variables.h"
#include "graphics/bmp_decode.h"
#include "graphics/composition.h"
#include "graphics/picture_layout.h"
#include "platform/common/cp932.h"
#include "platform/common/host_path.h"
#include "platform/common/mci_errors.h"
#include "platform/common/mci_sequencer.h"
#include "platform/headless/event_log.h"

namespace mowa::lint {
namespace {

using engine::ArgumentKind;
using engine::CommandId;
using engine::Span;
using engine::Statement;

constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;
// The message window: lines at 348 + 32n and columns at 54 + 25c; what lies
// below or right of the window is cut off.
constexpr int kMessageLines = 4;
constexpr int kMessageColumns = 23;

const std::vector<Kind> kKinds = {
    {"missing-label", Severity::error,
     "a jump to a label that is not in the table"},
    {"comment-statement", Severity::error,
     "a statement that the comment rule turns into a comment"},
    {"unknown-command", Severity::error,
     "a command word that is not in the table"},
    {"missing-argument", Severity::error, "an argument that is not there"},
    {"bad-argument", Severity::error, "an argument of the wrong kind"},
    {"bad-variable", Severity::error,
     "a variable reference whose two characters are not digits"},
    {"if-operator", Severity::error, "an if whose operator is not <, > or ="},
    {"if-no-label", Severity::error, "an if without its NO label"},
    {"line-too-long", Severity::error, "a line of more than 254 bytes"},
    {"long-file-name", Severity::error, "a file name of more than 80 bytes"},
    {"missing-file", Severity::error, "a file that is not found"},
    {"bad-file", Severity::error, "a file that the program would refuse"},
    {"midi-path", Severity::error,
     "a play_midi path that does not start with .\\"},
    {"too-many-labels", Severity::error, "a label beyond the table's 1000"},
    {"label-too-long", Severity::error, "a label line over its 20 bytes"},
    {"unclosed-quote", Severity::warning,
     "arguments not closed by a double quote"},
    {"unused-label", Severity::warning, "a label that no jump names"},
    {"duplicate-label", Severity::warning, "a second label of the same name"},
    {"label-trailing-text", Severity::warning,
     "a label line with text after ]"},
    {"label-no-newline", Severity::warning,
     "a label on the last line without a line feed"},
    {"label-blank", Severity::warning, "a label whose name holds blanks"},
    {"label-indented", Severity::warning,
     "a label after blanks, which is never registered"},
    {"assign-operators", Severity::warning,
     "an assignment with more than one operator"},
    {"number-text", Severity::warning,
     "a number followed by text that is ignored"},
    {"message-ascii", Severity::warning,
     "ASCII in a message, which is skipped"},
    {"message-escape", Severity::warning,
     "a c in a message that starts a colour escape"},
    {"message-overflow", Severity::warning,
     "a message larger than the message window"},
    {"bad-cp932", Severity::warning, "bytes that are not valid code page 932"},
    {"negative-delay", Severity::warning, "a negative wait or fade delay"},
    {"off-picture", Severity::warning,
     "coordinates outside the 640x480 picture"},
    {"no-end", Severity::warning,
     "a path that reaches the end of the file without end"},
    {"nested-gosub", Severity::warning,
     "a gosub reached again before its return"},
};

std::string utf8(std::string_view cp932) { return pf::cp932_to_utf8(cp932); }

std::string in_quotes(std::string_view cp932) {
  return "'" + utf8(cp932) + "'";
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// One line as the engine counts lines: one 256-byte read.
struct Line {
  std::string bytes;
  int physical = 0;
  std::string before;  // the bytes of the physical line before this read
  bool last = false;
};

// Where the control goes after a statement.
struct Flow {
  enum Kind { fall, jump, branch, call, back, stop } kind = fall;
  std::int32_t to[2] = {0, 0};  // script pointers; 0 when the label is missing
};

class Linter {
 public:
  explicit Linter(pf::FileService& files) : files_(files) {}

  std::vector<Finding> run() {
    if (!read_lines()) return std::move(findings_);
    build_labels();
    for (std::size_t i = 0; i < lines_.size(); ++i) check_line(i);
    report_unused_labels();
    follow_flow();
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const Finding& a, const Finding& b) {
                       return std::tie(a.line, a.column) <
                              std::tie(b.line, b.column);
                     });
    return std::move(findings_);
  }

 private:
  // ---- reading ----

  bool read_lines() {
    pf::Stream* file = files_.fopen(engine::kScenarioPath, "rt");
    if (!file) {
      add(1, 1, "missing-file", "the scenario data\\mowa.snr is not found", "");
      return false;
    }
    char buffer[engine::kLineBytes];
    int physical = 1;
    std::string before;
    while (file->fgets(buffer, engine::kLineBytes)) {
      Line line{buffer, physical, before, false};
      if (!line.bytes.empty() && line.bytes.back() == '\n') {
        ++physical;
        before.clear();
      } else {
        before += line.bytes;
      }
      lines_.push_back(std::move(line));
    }
    files_.fclose(file);
    if (!lines_.empty()) lines_.back().last = true;
    return true;
  }

  // ---- reporting ----

  void add(int line, int column, const char* name, std::string message,
           std::string text) {
    const Kind* kind = find_kind(name);
    findings_.push_back({line, column, kind->severity, name, std::move(message),
                         std::move(text)});
  }

  // Characters from the start of the physical line to byte `at` of read line
  // `index`, counted from 1.
  int column(std::size_t index, std::size_t at) const {
    const Line& l = lines_[index];
    const std::string all =
        l.before + l.bytes.substr(0, std::min(at, l.bytes.size()));
    int characters = 0;
    for (std::size_t i = 0; i < all.size(); ++i, ++characters)
      if (pf::cp932_is_lead(static_cast<unsigned char>(all[i]))) ++i;
    return characters + 1;
  }

  void add_at(std::size_t index, std::size_t byte, const char* name,
              std::string message, std::string_view text) {
    add(lines_[index].physical, column(index, byte), name, std::move(message),
        utf8(text));
  }

  // ---- the label table ----

  void build_labels() {
    int next = 0;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      const std::string& bytes = lines_[i].bytes;
      const auto number = static_cast<std::int32_t>(i + 1);
      const std::string shown = without_newline(bytes);
      switch (engine::store_label_line(labels_, next, bytes.c_str(), number)) {
        case engine::LabelLine::not_a_label:
          continue;
        case engine::LabelLine::too_long:
          add_at(i, 0, "label-too-long",
                 "the label line " + in_quotes(shown) + " is " +
                     std::to_string(bytes.size()) +
                     " bytes; with its line feed a label line may have 19, so "
                     "it is not entered in the label table",
                 shown);
          continue;
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

  static std::string without_newline(const std::string& s) {
    return !s.empty() && s.back() == '\n' ? s.substr(0, s.size() - 1) : s;
  }

  void check_label_form(std::size_t i) {
    const std::string& bytes = lines_[i].bytes;
    const std::size_t close = bytes.find(']');
    const std::string shown = without_newline(bytes);
    const std::size_t name_end =
        close == std::string::npos ? shown.size() : close;
    const std::string name = bytes.substr(1, name_end - 1);
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
  std::int32_t jump_to(std::size_t index, std::size_t at, std::string label) {
    if (label.size() > static_cast<std::size_t>(engine::kWordBytes))
      label.resize(engine::kWordBytes);
    const int entry = engine::find_label(labels_, label.c_str());
    if (entry >= 0) {
      targeted_.insert(labels_.lines[entry]);
      return labels_.lines[entry] + 1;
    }
    std::string why = "there is no label " + in_quotes("[" + label + "]");
    if (const std::string hint = near_label(label); !hint.empty())
      why += " (a label written " + in_quotes(hint) +
             " cannot be reached: " + "see its own finding)";
    add_at(index, at, "missing-label", why + "; the run ends here", label);
    return 0;
  }

  // A label line whose name, with blanks removed and brackets trimmed,
  // matches: a label that is there but cannot be found.
  std::string near_label(const std::string& name) const {
    for (const Line& l : lines_) {
      if (l.bytes.empty() || l.bytes[0] != '[') continue;
      std::string squeezed;
      for (char c : without_newline(l.bytes))
        if (c != ' ' && c != '\t') squeezed += c;
      if (squeezed == "[" + name + "]" && l.bytes != "[" + name + "]\n")
        return without_newline(l.bytes);
    }
    return {};
  }

  void report_unused_labels() {
    for (std::size_t i : named_labels_) {
      const auto line_number = static_cast<std::int32_t>(i + 1);
      if (targeted_.count(line_number)) continue;
      add_at(i, 0, "unused-label",
             "no jump names the label " +
                 in_quotes(without_newline(lines_[i].bytes)),
             without_newline(lines_[i].bytes));
    }
  }

  // ---- statements ----

  void check_line(std::size_t index) {
    const Line& l = lines_[index];
    if (!l.before.empty())
      add_at(index, 0, "line-too-long",
             "the line is longer than 254 bytes; the engine reads its bytes "
             "from here "
             "on as a line of their own, and every later line number shifts",
             l.bytes.substr(0, 20));
    flows_.emplace_back();
    const char* bytes = l.bytes.c_str();
    if (engine::is_empty_line(bytes)) {
      kinds_.push_back(LineKind::skipped);
      return;
    }
    if (engine::is_comment_or_label_line(bytes)) {
      kinds_.push_back(LineKind::skipped);
      check_comment(index);
      return;
    }
    kinds_.push_back(LineKind::statement);
    check_statement(index);
  }

  void check_comment(std::size_t index) {
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
    add_at(
        index, at, "comment-statement",
        std::string("a blank before \"") + b[at] +
            "\" makes the whole line a comment, so this statement never runs; "
            "remove the blank",
        without_newline(b));
  }

  void check_statement(std::size_t index) {
    char line[engine::kStatementBytes] = {};
    std::memcpy(line, lines_[index].bytes.c_str(), lines_[index].bytes.size());
    std::uint16_t origin[engine::kStatementBytes] = {};
    const Statement s =
        engine::split_statement(line, engine::remove_blanks(line, origin));
    Context c{index, s, origin};
    char word[engine::kWordBytes + 1];
    engine::command_word(s, word);
    const engine::CommandEntry& entry = engine::find_command(word);
    if (entry.id == CommandId::kDummy && std::strcmp(word, "dummy") != 0) {
      unknown_command(c, std::string(s.text, std::min(s.q, s.length)));
      return;
    }
    Flow& flow = flows_[index];
    switch (entry.id) {
      case CommandId::kIf:
        check_if(c, flow);
        return;
      case CommandId::kAssign:
        check_assign(c);
        return;
      case CommandId::kReturn:
        flow.kind = Flow::back;
        return;
      case CommandId::kEnd:
        flow.kind = Flow::stop;
        return;
      default:
        break;
    }
    const engine::ArgumentForm* form = engine::argument_form(entry.id);
    if (form == nullptr) return;
    check_closing_quote(c);
    const engine::ScannedArguments args = engine::scan_arguments(s, *form);
    check_arguments(c, entry, args, flow);
  }

  struct Context {
    std::size_t index;
    const Statement& s;
    const std::uint16_t* origin;
  };

  // The byte of the line as read where statement position `at` came from.
  static std::size_t byte_of(const Context& c, std::size_t at) {
    if (at < c.s.length) return c.origin[at];
    return c.s.length == 0 ? 0 : c.origin[c.s.length - 1] + 1u;
  }

  void report(const Context& c, std::size_t at, const char* name,
              std::string message, std::string_view text) {
    add_at(c.index, byte_of(c, at), name, std::move(message), text);
  }

  std::string_view text_of(const Context& c, Span span) const {
    return {c.s.text + span.begin, span.size()};
  }

  void unknown_command(const Context& c, const std::string& word) {
    std::string message = "unknown command " + in_quotes(word) +
                          "; it only prints \"dummy or not defined\"";
    if (const std::string near = nearest_command(word); !near.empty())
      message += "; did you mean " + in_quotes(near) + "?";
    report(c, 0, "unknown-command", message, word);
  }

  static int distance(const std::string& a, const std::string& b) {
    std::vector<int> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= a.size(); ++i) {
      int diagonal = row[0];
      row[0] = static_cast<int>(i);
      for (std::size_t j = 1; j <= b.size(); ++j) {
        const int up = row[j];
        row[j] = std::min({row[j] + 1, row[j - 1] + 1,
                           diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
        diagonal = up;
      }
    }
    return row[b.size()];
  }

  static std::string lower(std::string s) {
    for (char& ch : s)
      if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return s;
  }

  // The command nearest to the word: one that differs only in letter case,
  // else one at most two edits away (one for short words).
  static std::string nearest_command(const std::string& word) {
    std::string best;
    int best_distance = word.size() <= 4 ? 1 : 2;
    for (const engine::CommandEntry& e : engine::kCommandTable) {
      const std::string name = e.name;
      if (name == "@" || name == "dummy") continue;
      const int d =
          lower(name) == lower(word) ? 0 : distance(lower(word), name);
      if (d < best_distance || (d == best_distance && best.empty())) {
        best = name;
        best_distance = d;
      }
    }
    return best;
  }

  void check_closing_quote(const Context& c) {
    const Statement& s = c.s;
    if (s.q >= s.length || s.text[s.q] != '"') return;
    if (s.end < s.length && s.text[s.end] == '"') return;
    report(
        c, s.end, "unclosed-quote",
        "the arguments are not closed by a double quote; they run to the end "
        "of the line",
        {s.text, s.end});
  }

  // ---- numbers and variables ----

  // A variable reference's digits; false (reported) when they are not digits.
  bool check_reference(const Context& c, Span span) {
    char reference[4] = {'@', '\0', '\0', '\0'};
    for (std::size_t k = 1; k < 3 && k < span.size(); ++k)
      reference[k] = c.s.text[span.begin + k];
    if (engine::variable_index_of(reference) >= 0) return true;
    report(c, span.begin, "bad-variable",
           "the variable reference " +
               in_quotes(without_newline(std::string(text_of(c, span)))) +
               " does not name a variable: after \"@\" come two digits, @00 to "
               "@99",
           text_of(c, span));
    return false;
  }

  // The value of a number written as a literal; nothing for a variable or a
  // number that is missing or not a number (reported).
  std::optional<std::int32_t> check_number(const Context& c,
                                           const engine::NumberSpan& n,
                                           const std::string& what) {
    if (!n.present) {
      report(c, n.text.begin, "missing-argument",
             what + " is missing (it reads as 0)", "");
      return std::nullopt;
    }
    if (n.reference) {
      check_reference(c, n.text);
      return std::nullopt;
    }
    const std::string_view text = text_of(c, n.text);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t digits_from = i;
    while (i < text.size() && is_digit(text[i])) ++i;
    if (text.empty()) {
      report(c, n.text.begin, "missing-argument",
             what + " is missing (it reads as 0)", "");
      return std::nullopt;
    }
    if (i == digits_from) {
      report(c, n.text.begin, "bad-argument",
             what + " " + in_quotes(text) + " is not a number (it reads as 0)",
             text);
      return std::nullopt;
    }
    const std::int32_t value = engine::read_decimal(
        text.data(), std::min<std::size_t>(text.size(), engine::kNumberBytes));
    if (i < text.size())
      report(c, n.text.begin + i, "number-text",
             what + " " + in_quotes(text) + " reads as " +
                 std::to_string(value) + "; " + in_quotes(text.substr(i)) +
                 " is ignored",
             text);
    return value;
  }

  // ---- if and @ ----

  void check_if(const Context& c, Flow& flow) {
    const Statement& s = c.s;
    check_closing_quote(c);
    const engine::IfParts parts = engine::split_if(s);
    if (parts.variable_at + 3 > s.length) {
      report(c, parts.variable_at, "missing-argument",
             "if needs a variable, an operator, a value and two labels: "
             "if\"@AB<X,YES,NO\"",
             "");
      flow.kind = Flow::stop;
      return;
    }
    check_reference(c, {parts.variable_at, parts.variable_at + 3});
    const char op =
        parts.operator_at < s.length ? s.text[parts.operator_at] : '\0';
    if (op != '<' && op != '>' && op != '=')
      report(c, parts.operator_at, "if-operator",
             "the operator " + in_quotes(std::string(1, op)) +
                 " is none of < > =; the condition never holds and the jump "
                 "always "
                 "goes to NO",
             std::string(1, op));
    check_number(c, parts.x, "the value to compare with");
    flow.kind = Flow::branch;
    if (!parts.have_yes || parts.yes.size() == 0) {
      report(c, parts.have_yes ? parts.yes.begin : s.end, "missing-argument",
             "if needs its YES label after the first comma", "");
    } else {
      flow.to[0] = jump_to(c.index, byte_of(c, parts.yes.begin),
                           std::string(text_of(c, parts.yes)));
    }
    if (!parts.have_no || parts.no.size() == 0) {
      report(c, parts.have_no ? parts.no.begin : s.end, "if-no-label",
             "if has no NO label after a second comma; when the condition does "
             "not hold there is nowhere to go and the run ends",
             {s.text, s.end});
    } else {
      flow.to[1] = jump_to(c.index, byte_of(c, parts.no.begin),
                           std::string(text_of(c, parts.no)));
    }
  }

  void check_assign(const Context& c) {
    const Statement& s = c.s;
    check_reference(c, {0, std::min<std::size_t>(3, s.length)});
    const engine::AssignParts parts = engine::split_assign(s);
    if (!parts.any_operator) {
      check_number(c, parts.left, "the value");
      if (parts.left.reference && parts.left.text.end < parts.line_end)
        report(c, parts.left.text.end, "number-text",
               "what follows the variable, " +
                   in_quotes({s.text + parts.left.text.end,
                              parts.line_end - parts.left.text.end}) +
                   ", is ignored",
               {s.text + 4,
                parts.line_end - std::min<std::size_t>(4, parts.line_end)});
      return;
    }
    if (parts.left.reference)
      check_reference(c, parts.left.text);
    else if (parts.left.present)
      check_left_operand(c, parts.left.text);
    if (!engine::is_assign_operator(parts.op)) {
      report(c, parts.operator_at, "bad-argument",
             "after the variable comes " +
                 in_quotes(std::string(
                     1, parts.operator_at < parts.line_end ? parts.op : ' ')) +
                 ", which is none of + - * /; nothing is stored",
             {s.text + parts.operator_at,
              parts.line_end - std::min(parts.operator_at, parts.line_end)});
      return;
    }
    const engine::NumberSpan& right = parts.right;
    if (!right.present) {
      report(c, parts.operator_at + 1, "missing-argument",
             "the operand after " + in_quotes(std::string(1, parts.op)) +
                 " is missing (it reads as 0)",
             "");
      return;
    }
    if (right.reference) {
      check_reference(c, right.text);
      check_extra_operators(c, right.text.end, parts.line_end);
      return;
    }
    // The right operand's own sign is read with it.
    std::size_t i = right.text.begin;
    if (i < right.text.end && (s.text[i] == '+' || s.text[i] == '-')) ++i;
    if (check_extra_operators(c, i, parts.line_end)) return;
    check_number(c, right, "the operand");
  }

  void check_left_operand(const Context& c, Span left) {
    const std::string_view text = text_of(c, left);
    std::size_t digits = 0;
    while (digits < text.size() && is_digit(text[digits])) ++digits;
    if (digits < text.size())
      report(c, left.begin + digits, "number-text",
             "the operand " + in_quotes(text) + " reads as " +
                 std::to_string(engine::read_decimal(text.data(), digits)) +
                 "; " + in_quotes(text.substr(digits)) + " is ignored",
             text);
  }

  // True (reported) when an operator follows the evaluated one.
  bool check_extra_operators(const Context& c, std::size_t from,
                             std::size_t line_end) {
    for (std::size_t i = from; i < line_end; ++i) {
      if (!engine::is_assign_operator(c.s.text[i])) continue;
      report(c, i, "assign-operators",
             "only one operator is evaluated; " +
                 in_quotes(std::string_view(c.s.text + i, line_end - i)) +
                 " is ignored. Split the sum over several statements",
             {c.s.text + 4, line_end - std::min<std::size_t>(4, line_end)});
      return true;
    }
    return false;
  }

  // ---- commands with a form ----

  void check_arguments(const Context& c, const engine::CommandEntry& entry,
                       const engine::ScannedArguments& args, Flow& flow) {
    std::optional<std::int32_t> numbers[engine::kMaxArguments];
    int count = 0;
    std::string file;
    std::size_t file_at = 0;
    bool file_ok = false;
    for (int i = 0; i < args.count; ++i) {
      const engine::ArgumentSpan& a = args.args[i];
      const std::string_view text = text_of(c, a.text);
      switch (a.kind) {
        case ArgumentKind::number: {
          const std::string what =
              std::string(entry.name) + "'s argument " + std::to_string(i + 1);
          numbers[count++] =
              check_number(c, {a.text, a.reference, a.present}, what);
          break;
        }
        case ArgumentKind::target:
          if (!a.present || a.text.size() < 3)
            report(c, a.text.begin, "missing-argument",
                   std::string(entry.name) + " needs a variable such as @01",
                   "");
          else
            check_reference(c, a.text);
          break;
        case ArgumentKind::label:
          if (!a.present) {
            report(c, a.text.begin, "missing-argument",
                   std::string(entry.name) + " needs a label name", "");
            flow.kind = Flow::stop;
            break;
          }
          flow.kind = entry.id == CommandId::kGosub ? Flow::call : Flow::jump;
          flow.to[0] =
              jump_to(c.index, byte_of(c, a.text.begin), std::string(text));
          break;
        case ArgumentKind::file:
        case ArgumentKind::path:
          file = text;
          file_at = a.text.begin;
          file_ok = check_file_name(c, entry, a);
          break;
        case ArgumentKind::text:
          check_cp932(c, a.text);
          break;
        case ArgumentKind::whole_text:
          check_message(c, a.text);
          break;
      }
    }
    check_values(c, entry.id, numbers, file_ok ? file : std::string(), file_at);
  }

  bool check_file_name(const Context& c, const engine::CommandEntry& entry,
                       const engine::ArgumentSpan& a) {
    const std::string text(text_of(c, a.text));
    if (text.empty()) {
      report(c, a.text.begin, "missing-argument",
             std::string(entry.name) + " needs a file name", "");
      return false;
    }
    if (text.size() > static_cast<std::size_t>(engine::kFileNameBytes)) {
      report(c, a.text.begin, "long-file-name",
             "the file name is " + std::to_string(text.size()) +
                 " bytes; at most 80 fit, and the command does nothing",
             text);
      return false;
    }
    if (a.kind == ArgumentKind::path &&
        !(text.size() > 1 && text[0] == '.' &&
          (text[1] == '\\' || text[1] == '/'))) {
      report(c, a.text.begin, "midi-path",
             "play_midi drops the first character of its path, so " +
                 in_quotes(text) + " opens " + in_quotes(text.substr(1)) +
                 " glued to the folder's own name; write it as .\\" +
                 text.substr(
                     std::min(text.find_first_not_of(".\\/"), text.size())),
             text);
      return false;
    }
    return true;
  }

  // ---- files ----

  void check_values(const Context& c, CommandId id,
                    const std::optional<std::int32_t>* n,
                    const std::string& file, std::size_t file_at) {
    switch (id) {
      case CommandId::kWait:
      case CommandId::kScreenBlackOut:
      case CommandId::kScreenBlackIn:
        if (n[0] && *n[0] < 0)
          report(c, c.s.q + 1, "negative-delay",
                 "a negative delay " + std::to_string(*n[0]) +
                     " does not wait at all here, and would wait for ever on "
                     "the system the program was made for",
                 {c.s.text, c.s.end});
        return;
      case CommandId::kBoxFill:
      case CommandId::kBox:
        check_inside(c, {n[0], n[2]}, kPictureWidth, "x");
        check_inside(c, {n[1], n[3]}, kPictureHeight, "y");
        return;
      case CommandId::kScreenCopy:
        check_inside(c, {n[0], n[2]}, kPictureWidth, "x");
        check_inside(c, {n[1], n[3]}, kPictureHeight, "y");
        if (n[0] && n[2])
          check_inside(c, {n[4], add(n[4], *n[2] - *n[0])}, kPictureWidth,
                       "dx");
        if (n[1] && n[3])
          check_inside(c, {n[5], add(n[5], *n[3] - *n[1])}, kPictureHeight,
                       "dy");
        return;
      case CommandId::kNumberWrite:
        check_inside(c, {n[1]}, kPictureWidth - 1, "x");
        check_inside(c, {n[2]}, kPictureHeight - 1, "y");
        return;
      case CommandId::kTextWrite:
        check_inside(c, {n[0]}, kPictureWidth - 1, "x");
        check_inside(c, {n[1]}, kPictureHeight - 1, "y");
        return;
      case CommandId::kGload:
        if (!file.empty()) check_picture(c, file, file_at);
        return;
      case CommandId::kCharacter:
        if (!file.empty()) {
          const SpriteSize size = check_sprite(c, file, file_at);
          check_inside(c, {n[0], add(n[0], size.width)}, kPictureWidth, "x");
          check_inside(c, {n[1], add(n[1], size.height)}, kPictureHeight, "y");
        }
        return;
      case CommandId::kPlayWav:
        if (!file.empty()) check_wav(c, file, file_at);
        return;
      case CommandId::kPlayMidi:
        if (!file.empty()) check_midi(c, file, file_at);
        return;
      default:
        return;
    }
  }

  static std::optional<std::int32_t> add(std::optional<std::int32_t> a,
                                         std::int64_t b) {
    if (!a) return std::nullopt;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(*a + b, INT32_MIN, INT32_MAX));
  }

  void check_inside(const Context& c,
                    std::initializer_list<std::optional<std::int32_t>> values,
                    int limit, const char* what) {
    for (const auto& v : values) {
      if (!v || (*v >= 0 && *v <= limit)) continue;
      report(c, c.s.q + 1, "off-picture",
             std::string(what) + " " + std::to_string(*v) +
                 " lies outside the picture (0 to " + std::to_string(limit) +
                 "); what falls outside is not drawn",
             {c.s.text, c.s.end});
      return;
    }
  }

  void missing_file(const Context& c, std::size_t at, const std::string& file,
                    const std::string& consequence) {
    report(c, at, "missing-file",
           in_quotes(file) +
               " is not found from the folder that holds data (letter case "
               "does not matter); " +
               consequence,
           file);
  }

  void bad_file(const Context& c, std::size_t at, const std::string& file,
                const std::string& why) {
    report(c, at, "bad-file", in_quotes(file) + " would be refused: " + why,
           file);
  }

  // Why the program's own reader refuses a file, in the writer's words.
  static std::string refusal_reason(bmp::Refusal why, bool picture) {
    switch (why) {
      case bmp::Refusal::not_bmp: return "it is not a BMP file";
      case bmp::Refusal::not_palette:
        return "it is a true-colour file; use 256 colours or fewer";
      case bmp::Refusal::unknown_compression:
        return "it uses a compression the program cannot read";
      case bmp::Refusal::too_large:
        return picture ? "it is not 640x480"
                       : "a sprite is at most 640 wide and 480 high";
      case bmp::Refusal::cut_short: return "the file is cut short";
      case bmp::Refusal::broken: return "it is broken";
      case bmp::Refusal::none: break;
    }
    return {};
  }

  // The file decoded by the program's own reader; nullopt when missing.
  std::optional<bmp::Decoded> decode_file(const std::string& file) {
    pf::Stream* in = files_.fopen(file.c_str(), "rb");
    if (!in) return std::nullopt;
    const std::vector<std::uint8_t> bytes = graphics::read_all(*in);
    files_.fclose(in);
    return bmp::decode(bytes);
  }

  void check_picture(const Context& c, const std::string& file,
                     std::size_t at) {
    const std::optional<bmp::Decoded> decoded = decode_file(file);
    if (!decoded) {
      missing_file(c, at, file,
                   "the program shows an error box and loads nothing");
      return;
    }
    std::string why = refusal_reason(decoded->refusal, true);
    if (why.empty() && (decoded->picture.width != graphics::kImageWidth ||
                        decoded->picture.height != graphics::kImageHeight))
      why = "it is " + std::to_string(decoded->picture.width) + "x" +
            std::to_string(decoded->picture.height) + "; a picture is 640x480";
    if (!why.empty()) bad_file(c, at, file, why);
  }

  struct SpriteSize {
    std::int32_t width = 0, height = 0;
  };

  SpriteSize check_sprite(const Context& c, const std::string& file,
                          std::size_t at) {
    const std::optional<bmp::Decoded> decoded = decode_file(file);
    if (!decoded) {
      missing_file(c, at, file,
                   "the program shows an error box and draws nothing");
      return {};
    }
    if (decoded->refusal == bmp::Refusal::none)
      return {decoded->picture.width, decoded->picture.height};
    bad_file(c, at, file, refusal_reason(decoded->refusal, false));
    return {};
  }

  void check_wav(const Context& c, const std::string& file, std::size_t at) {
    const std::string host = pf::host_path(file);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(host, ec)) {
      missing_file(c, at, file, "the system's default sound plays instead");
      return;
    }
    std::ifstream in(host, std::ios::binary);
    char head[12] = {};
    in.read(head, sizeof head);
    if (in.gcount() < 12 || std::memcmp(head, "RIFF", 4) != 0 ||
        std::memcmp(head + 8, "WAVE", 4) != 0)
      bad_file(
          c, at, file,
          "it is not a WAV file (no RIFF WAVE header); the system's default "
          "sound plays instead");
  }

  void check_midi(const Context& c, const std::string& path, std::size_t at) {
    char directory[pf::MAX_PATH] = {};
    const pf::Dword length =
        files_.GetCurrentDirectoryA(sizeof directory, directory);
    if (length == 0 || length >= sizeof directory) return;
    const std::string midi_path =
        std::string(directory, length) + path.substr(1);
    const pf::McError error = pf::sequence_file_error(midi_path);
    if (error == pf::MCIERR_FILE_NOT_FOUND)
      missing_file(c, at, path, "the program shows the sequencer's error box");
    else if (error != 0)
      bad_file(c, at, path,
               "it is not a standard MIDI file the sequencer can play");
  }

  // ---- texts ----

  // Reports the first character that code page 932 does not have.
  void check_cp932(const Context& c, Span span) {
    const std::string_view text = text_of(c, span);
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto b = static_cast<unsigned char>(text[i]);
      if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) continue;
      const std::size_t n = pf::cp932_is_lead(b) && i + 1 < text.size() ? 2 : 1;
      if (utf8(text.substr(i, n)).find("\xEF\xBF\xBD") != std::string::npos) {
        report(c, span.begin + i, "bad-cp932",
               "the bytes here are not a character of code page 932",
               text.substr(i, n));
        return;
      }
      i += n - 1;
    }
  }

  static bool is_escape_digit(char ch) {
    return is_digit(ch) || (ch >= 'a' && ch <= 'f');
  }

  // The message window's own reading of its text (the message layout):
  // two-byte characters, one-byte half-width katakana, "/" line breaks, "c" colour escapes, everything
  // else from 0x00 to 0x80 skipped.
  void check_message(const Context& c, Span span) {
    const std::string_view text = text_of(c, span);
    check_cp932(c, span);
    int line = 0, columns = 0;
    bool ascii_reported = false;
    bool wide_reported = false;
    for (std::size_t i = 0; i < text.size();) {
      const auto b = static_cast<unsigned char>(text[i]);
      if (b >= 0x81) {
        if (++columns > kMessageColumns && !wide_reported) {
          report(c, span.begin + i, "message-overflow",
                 "a message line holds " + std::to_string(kMessageColumns) +
                     " characters; the rest runs off the window. Break the "
                     "line with /",
                 text.substr(i));
          wide_reported = true;
        }
        // Half-width katakana are one byte, in a column of their own.
        i += (b >= 0xA1 && b <= 0xDF) ? 1 : 2;
      } else if (b == '/') {
        if (++line == kMessageLines)
          report(c, span.begin + i, "message-overflow",
                 "the message window holds " + std::to_string(kMessageLines) +
                     " lines; the lines from here on are cut off",
                 text.substr(i));
        columns = 0;
        wide_reported = false;
        ++i;
      } else if (b == 'c') {
        std::size_t k = 1;
        while (k < 7 && i + k < text.size() && is_escape_digit(text[i + k]))
          ++k;
        if (k < 7) {
          std::size_t shown = 1;
          while (shown < 7 && i + shown < text.size() &&
                 static_cast<unsigned char>(text[i + shown]) < 0x80)
            ++shown;
          report(c, span.begin + i, "message-escape",
                 "\"c\" starts a colour escape and takes the six bytes after "
                 "it: " +
                     in_quotes(text.substr(i, shown)) +
                     " is not a colour such as c0000ff, and the letter and the "
                     "six "
                     "bytes after it do not show",
                 text.substr(i, shown));
          // The window reads on out of step with the characters.
          return;
        }
        i += 7;
      } else {
        if (b != '\n' && !ascii_reported) {
          std::size_t end = i;
          while (end < text.size() &&
                 static_cast<unsigned char>(text[end]) < 0x81 &&
                 text[end] != '/' && text[end] != 'c' && text[end] != '\n')
            ++end;
          report(c, span.begin + i, "message-ascii",
                 "ASCII in a message is skipped: " +
                     in_quotes(text.substr(i, end - i)) +
                     " does not show; use full-width characters",
                 text.substr(i, end - i));
          ascii_reported = true;
        }
        ++i;
      }
    }
  }

  // ---- the paths through the scenario ----

  enum class LineKind { skipped, statement };

  // The statement the engine runs at script pointer `pointer`, or -1 at the
  // end of the file.
  long statement_at(std::int32_t pointer) const {
    std::size_t i = pointer <= 1 ? 0 : static_cast<std::size_t>(pointer - 1);
    while (i < kinds_.size() && kinds_[i] != LineKind::statement) ++i;
    return i < kinds_.size() ? static_cast<long>(i) : -1;
  }

  // Walks every path from the first line with the return slot and whether a
  // gosub still waits for its return; reports the statements after which the
  // file ends and the gosubs that overwrite a pending return.
  void follow_flow() {
    struct State {
      std::int32_t pointer;
      std::int32_t slot;
      bool pending;
      std::int32_t from;  // the statement before, as a line index, or -1
      bool operator<(const State& o) const {
        return std::tie(pointer, slot, pending) <
               std::tie(o.pointer, o.slot, o.pending);
      }
    };
    std::set<State> seen;
    std::vector<State> todo{{1, 0, false, -1}};
    std::set<long> ended_after, nested;
    while (!todo.empty()) {
      const State st = todo.back();
      todo.pop_back();
      const long at = statement_at(st.pointer);
      if (at < 0) {
        if (ended_after.insert(st.from).second) report_no_end(st.from);
        continue;
      }
      if (!seen.insert(
                   {static_cast<std::int32_t>(at + 1), st.slot, st.pending, 0})
               .second)
        continue;
      const Flow& f = flows_[static_cast<std::size_t>(at)];
      const auto next = static_cast<std::int32_t>(at + 2);
      const auto here = static_cast<std::int32_t>(at);
      auto go = [&](std::int32_t pointer, std::int32_t slot, bool pending) {
        todo.push_back({pointer, slot, pending, here});
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
                    std::to_string(lines_[static_cast<std::size_t>(st.slot - 2)]
                                       .physical) +
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

  void report_no_end(long after) {
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

  pf::FileService& files_;
  std::vector<Line> lines_;
  std::vector<LineKind> kinds_;
  std::vector<Flow> flows_;
  engine::LabelTable labels_;
  std::map<std::string, std::size_t> first_label_of_;
  std::vector<std::size_t> named_labels_;  // labels that a jump can reach
  std::set<std::int32_t> targeted_;        // label lines some jump reaches
  std::vector<Finding> findings_;
};

std::string severity_word(Severity s) {
  return s == Severity::error ? "error" : "warning";
}

}  // namespace

const std::vector<Kind>& kinds() { return kKinds; }

const Kind* find_kind(const std::string& name) {
  for (const Kind& k : kKinds)
    if (name == k.name) return &k;
  return nullptr;
}

std::vector<Finding> lint_scenario(pf::FileService& files) {
  return Linter(files).run();
}

std::string format_text(const std::string& file, const Finding& f) {
  return file + ":" + std::to_string(f.line) + ":" + std::to_string(f.column) +
         ": " + severity_word(f.severity) + ": " + f.message + " [" + f.name +
         "]";
}

std::string format_json(const std::string& file, const Finding& f) {
  // json_escape gives a whole JSON string, quotes included.
  return "{\"file\":" + pf::json_escape(file) +
         ",\"line\":" + std::to_string(f.line) +
         ",\"column\":" + std::to_string(f.column) + ",\"severity\":\"" +
         severity_word(f.severity) + "\",\"name\":\"" + f.name +
         "\",\"message\":" + pf::json_escape(f.message) +
         ",\"text\":" + pf::json_escape(f.text) + "}";
}

}  // namespace mowa::lint
