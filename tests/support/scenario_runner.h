// Runs small scenarios through mowa-headless in a folder of their own and
// reads back what the program printed, logged and left behind.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace mowa::test {

// One event-log line as a flat map; numbers, true, false and null are kept
// as their JSON text, strings unescaped.
using Event = std::map<std::string, std::string>;

struct RunResult {
  int exit_code = -1;
  std::string out;  // standard output: the trace lines
  std::string err;
  std::vector<Event> events;

  std::vector<Event> of(std::string_view kind) const;
  // Field `key` of every event of that kind, in order.
  std::vector<std::string> values(std::string_view kind,
                                  const std::string& key) const;
  // The texts of the message boxes, in order.
  std::vector<std::string> box_texts() const;
};

// What a whole run shows: its trace lines, every box in order, the caption
// and owner of the first box, the sleeps asked for and the exit code.
struct Outcome {
  std::string out;
  std::vector<std::string> boxes;
  std::string first_caption = "script_read";
  std::string first_owner = "main";
  std::vector<std::string> sleeps_ms = {};
  int exit_code = 0;
};
void expect_outcome(const RunResult& r, const Outcome& expected);

// The text of the box that check"@NN" shows on script line `line`.
std::string check_box(long long value, int line);

// `text` `times` over.
inline std::string repeated(const std::string& text, int times) {
  std::string out;
  while (times-- > 0) out += text;
  return out;
}

// Lists of expected boxes or lines, one after the other.
inline std::vector<std::string> operator+(std::vector<std::string> a,
                                          const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The farewell box that ends every run, and its caption.
inline constexpr char kFarewell[] = "ばいばいもわもわ～！！";
inline constexpr char kFarewellCaption[] = "from 星屑の小瓶";

class Scenario {
 public:
  Scenario();
  ~Scenario();
  Scenario(const Scenario&) = delete;
  Scenario& operator=(const Scenario&) = delete;

  const std::string& dir() const { return dir_; }
  // Writes the scenario file; UTF-8 text is stored as code page 932.
  void script(std::string_view utf8);
  // Writes raw bytes to a file below the folder ('/' separated).
  void write(const std::string& relative, std::string_view bytes);
  std::string read(const std::string& relative) const;
  bool exists(const std::string& relative) const;

  // Runs mowa-headless on the folder with the extra options; `input` is the
  // text of an --input file when not empty.
  RunResult run(const std::vector<std::string>& options = {},
                std::string_view input = {}) const;

 private:
  std::string dir_;
};

std::string to_cp932(std::string_view utf8);
std::string slurp(const std::string& path);
std::vector<Event> parse_events(std::string_view jsonl);

}  // namespace mowa::test
