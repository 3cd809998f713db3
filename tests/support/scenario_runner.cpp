#include "scenario_runner.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "base/cp932.h"

namespace mowa::test {
namespace fs = std::filesystem;

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

namespace {

std::string quote(const std::string& s) {
  std::string q = "'";
  for (const char c : s) q += c == '\'' ? "'\\''" : std::string(1, c);
  return q + "'";
}

}  // namespace

std::string to_cp932(std::string_view utf8) {
  return base::utf8_to_cp932(utf8);
}

// The log holds one flat object a line: strings escaped as \" \\ \n \r \t
// or \u00XX, every other value bare.
std::vector<Event> parse_events(std::string_view jsonl) {
  std::vector<Event> events;
  std::string key, value;
  bool in_key = true, quoted = false;
  for (std::size_t i = 0; i < jsonl.size(); ++i) {
    char c = jsonl[i];
    std::string& text = in_key ? key : value;
    if (quoted && c == '\\') {
      if ((c = jsonl[++i]) == 'u') {
        text += static_cast<char>(
            std::stoi(std::string(jsonl.substr(i + 1, 4)), nullptr, 16));
        i += 4;
      } else {
        text += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
      }
    } else if (c == '"') {
      quoted = !quoted;
    } else if (quoted) {
      text += c;
    } else if (c == '{') {
      events.emplace_back();
    } else if (c == ':') {
      in_key = false;
    } else if (c == ',' || c == '}') {
      events.back()[key] = std::exchange(value, {});
      key.clear();
      in_key = true;
    } else if (c != '\n') {
      text += c;
    }
  }
  return events;
}

std::vector<Event> RunResult::of(std::string_view kind) const {
  std::vector<Event> r;
  for (const auto& e : events)
    if (e.at("ev") == kind) r.push_back(e);
  return r;
}

std::vector<std::string> RunResult::values(std::string_view kind,
                                           const std::string& key) const {
  std::vector<std::string> r;
  for (const auto& e : of(kind)) r.push_back(e.at(key));
  return r;
}

std::vector<std::string> RunResult::box_texts() const {
  return values("message_box", "text");
}

std::string check_box(long long value, int line) {
  return "check=" + std::to_string(value) +
         "(script_pointer=" + std::to_string(line) + ")\n";
}

void expect_outcome(const RunResult& r, const Outcome& expected) {
  EXPECT_EQ(r.out, expected.out);
  EXPECT_EQ(r.box_texts(), expected.boxes);
  const auto boxes = r.of("message_box");
  if (!boxes.empty()) {
    EXPECT_EQ(boxes[0].at("caption"), expected.first_caption);
    EXPECT_EQ(boxes[0].at("owner"), expected.first_owner);
  }
  EXPECT_EQ(r.values("sleep", "ms"), expected.sleeps_ms);
  EXPECT_EQ(r.exit_code, expected.exit_code);
}

Scenario::Scenario() {
  std::string pattern =
      (fs::temp_directory_path() / "mowa-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
  dir_ = pattern;
  fs::create_directories(dir_ + "/data");
}

Scenario::~Scenario() {
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

void Scenario::script(std::string_view utf8) {
  write("data/mowa.snr", to_cp932(utf8));
}

void Scenario::write(const std::string& relative, std::string_view bytes) {
  const fs::path path = fs::path(dir_) / relative;
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Scenario::read(const std::string& relative) const {
  return slurp(dir_ + "/" + relative);
}

bool Scenario::exists(const std::string& relative) const {
  return fs::exists(fs::path(dir_) / relative);
}

RunResult Scenario::run(const std::vector<std::string>& options,
                        std::string_view input) const {
  const std::string base = dir_ + "/.run";
  std::ostringstream command;
  command << quote(MOWA_HEADLESS_BIN) << " --events " << quote(base + ".events")
          << " --time 0";
  if (!input.empty()) {
    std::ofstream(base + ".input", std::ios::binary) << input;
    command << " --input " << quote(base + ".input");
  }
  for (const auto& o : options) command << ' ' << quote(o);
  command << ' ' << quote(dir_) << " >" << quote(base + ".out") << " 2>"
          << quote(base + ".err");
  const int status = std::system(command.str().c_str());
  const RunResult r{WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                    slurp(base + ".out"), slurp(base + ".err"),
                    parse_events(slurp(base + ".events"))};
  // Whatever a run does, it gives back what it took, unless a release call
  // was made to fail.
  const bool faults =
      std::find(options.begin(), options.end(), "--fail") != options.end();
  for (const Event& held : faults ? std::vector<Event>{} : r.of("held"))
    for (const char* what :
         {"blocks", "locked_blocks", "gdi_objects", "dcs", "files"})
      EXPECT_EQ(held.at(what), "0") << what << " left behind in " << dir_;
  return r;
}

}  // namespace mowa::test
