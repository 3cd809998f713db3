// The checker's working state, shared by the files that each check one
// concern: reading and reporting (linter.cpp), labels and jumps (labels.cpp),
// statements and commands (statements.cpp), numbers, variables, if and @
// (numbers.cpp), files named by the scenario (files.cpp), texts (texts.cpp)
// and the paths through the scenario (flow.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/argument_forms.h"
#include "engine/commands.h"
#include "engine/label_table.h"
#include "engine/statement_syntax.h"
#include "graphics/bmp_decode.h"
#include "lint/lint.h"
#include "platform/platform.h"

namespace mowa::lint {

constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;

std::string utf8(std::string_view cp932);
std::string in_quotes(std::string_view cp932);
bool is_digit(char c);
std::string without_newline(const std::string& s);
// Edits (insert, delete, replace a byte) that turn a into b.
int edit_distance(const std::string& a, const std::string& b);

// One line as the engine counts lines: one 256-byte read.
struct Line {
  std::string bytes;
  int physical = 0;
  std::string before;  // the bytes of the physical line before this read
  bool last = false;
};

// Where the control goes after a statement, and what it does to the colours
// the window shows.
struct Flow {
  enum Kind { fall, jump, branch, call, back, stop } kind = fall;
  std::int32_t to[2] = {0, 0};  // script pointers; 0 when the label is missing
  // A picture loaded (its index in Linter::pictures_, or kUnknown) or a fade,
  // either of which gives the window a palette.
  enum Palette { keeps, loads, fades } palette = keeps;
  int picture = -1;
  bool needs_palette = false;   // a message animation, which selects it
  int sprite = -1;              // a sprite drawn: its index in sprites_
  std::size_t sprite_byte = 0;  // where its file name is written
  bool opaque = false;          // the sprite's colour 0 is drawn too
};

// The colours of a picture or sprite file, as the program's reader sees them.
struct Colours {
  std::string file;
  std::vector<bmp::Colour> table;
  std::array<bool, 256> used{};  // the indices that the pixels use
};

class Linter {
 public:
  explicit Linter(pf::FileService& files) : files_(files) {}
  std::vector<Finding> run();

 private:
  struct Context {
    std::size_t index;
    const engine::Statement& s;
    const std::uint16_t* origin;
  };
  struct SpriteSize {
    std::int32_t width = 0, height = 0;
  };
  enum class LineKind { skipped, statement };
  static constexpr int kUnknown = -1;

  // linter.cpp: reading and reporting
  bool read_lines();
  bool is_utf8_file();
  void add(int line, int column, const char* name, std::string message,
           std::string text);
  int column(std::size_t index, std::size_t at) const;
  void add_at(std::size_t index, std::size_t byte, const char* name,
              std::string message, std::string_view text);
  static std::size_t byte_of(const Context& c, std::size_t at);
  void report(const Context& c, std::size_t at, const char* name,
              std::string message, std::string_view text);
  static std::string_view text_of(const Context& c, engine::Span span);

  // labels.cpp
  void build_labels();
  void check_label_form(std::size_t i);
  std::int32_t jump_to(std::size_t index, std::size_t at, std::string label);
  std::string near_label(const std::string& name) const;
  std::string nearest_label(const std::string& name) const;
  void report_unused_labels();
  void check_comment(std::size_t index);

  // statements.cpp
  void check_line(std::size_t index);
  void check_statement(std::size_t index);
  void unknown_command(const Context& c, const std::string& word);
  static std::string nearest_command(const std::string& word);
  void check_closing_quote(const Context& c);
  void check_arguments(const Context& c, const engine::CommandEntry& entry,
                       const engine::ScannedArguments& args, Flow& flow);
  bool check_file_name(const Context& c, const engine::CommandEntry& entry,
                       const engine::ArgumentSpan& a);

  // numbers.cpp
  bool check_reference(const Context& c, engine::Span span);
  std::optional<std::int32_t> check_number(const Context& c,
                                           const engine::NumberSpan& n,
                                           const std::string& what);
  void check_if(const Context& c, Flow& flow);
  void check_assign(const Context& c);
  void check_left_operand(const Context& c, engine::Span left);
  bool check_extra_operators(const Context& c, std::size_t from,
                             std::size_t line_end);

  // files.cpp
  void check_values(const Context& c, engine::CommandId id,
                    const std::optional<std::int32_t>* n,
                    const std::string& file, std::size_t file_at, Flow& flow);
  void check_inside(const Context& c,
                    std::initializer_list<std::optional<std::int32_t>> values,
                    int limit, const char* what);
  void missing_file(const Context& c, std::size_t at, const std::string& file,
                    const std::string& consequence);
  void bad_file(const Context& c, std::size_t at, const std::string& file,
                const std::string& why);
  std::optional<bmp::Decoded> decode_file(const std::string& file);
  int check_picture(const Context& c, const std::string& file, std::size_t at);
  SpriteSize check_sprite(const Context& c, const std::string& file,
                          std::size_t at, Flow& flow);
  void check_wav(const Context& c, const std::string& file, std::size_t at);
  void check_midi(const Context& c, const std::string& path, std::size_t at);
  // The first index the sprite uses whose colour the picture lacks, or -1.
  int colour_mismatch(int sprite, int picture, bool opaque) const;

  // texts.cpp
  void check_cp932(const Context& c, engine::Span span);
  void check_message(const Context& c, engine::Span span);

  // flow.cpp
  long statement_at(std::int32_t pointer) const;
  void follow_flow();
  void report_no_end(long after);
  void report_no_palette(long at);
  void report_sprite_colours(long at, int picture, int index);

  pf::FileService& files_;
  std::vector<Line> lines_;
  std::vector<LineKind> kinds_;
  std::vector<Flow> flows_;
  engine::LabelTable labels_;
  std::map<std::string, std::size_t> first_label_of_;
  std::vector<std::size_t> named_labels_;  // labels that a jump can reach
  std::set<std::int32_t> targeted_;        // label lines some jump reaches
  std::vector<Colours> pictures_;          // each picture file loaded once
  std::vector<Colours> sprites_;           // each sprite file drawn once
  bool utf8_file_ = false;  // texts' odd bytes are then not reported
  std::vector<Finding> findings_;
};

}  // namespace mowa::lint
