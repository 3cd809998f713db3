#include "fuzz_program.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/headless/headless_platform.h"
#include "shell/program.h"

namespace mowa::fuzz {
namespace {

namespace fs = std::filesystem;

std::string& scratch_folder() {
  static std::string folder;
  return folder;
}

void remove_scratch_folder() {
  std::error_code ec;
  if (!scratch_folder().empty()) fs::remove_all(scratch_folder(), ec);
}

void left_behind(const char* what, std::size_t count) {
  if (count == 0) return;
  std::fprintf(stderr, "mowa fuzz: the run left %zu %s behind\n", count, what);
  std::abort();
}

}  // namespace

void enter_scratch_folder() {
  if (!scratch_folder().empty()) return;
  std::string pattern =
      (fs::temp_directory_path() / "mowa-fuzz-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) std::abort();
  scratch_folder() = pattern;
  std::atexit(remove_scratch_folder);
  fs::create_directories(pattern + "/data");
}

std::string scratch_path(const std::string& relative) {
  return scratch_folder() + "/" + relative;
}

void put_file(const std::string& relative, std::string_view bytes) {
  std::ofstream out(scratch_path(relative), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void run_program(std::uint64_t max_steps, pf::SoundService* sound) {
  static std::FILE* const trace = std::fopen("/dev/null", "w");
  pf::HeadlessPlatform hp(trace);
  pf::Platform& own = hp.platform();
  pf::Platform platform{
      own.box,         own.clock,   own.window,
      own.gdi,         own.display, sound ? *sound : own.sound,
      own.memory,      own.files,   own.versions,
      own.replacement, own.out};
  // The fuzzer names its corpus relative to where it was started: the
  // program goes into the scratch folder only for its run.
  const fs::path started_in = fs::current_path();
  fs::current_path(scratch_folder());
  {
    Program program(platform);
    program.set_step_limit(max_steps);
    // Scripted input and sound are keyed to the idle steps completed; stopped
    // at its step limit or not, the program tears down.
    shell::EachTurn hooks([&](const Program& p) { hp.log.steps = p.steps(); });
    shell::run(program, pf::SW_SHOWNORMAL, &hooks);
  }
  fs::current_path(started_in);
  left_behind("locked image blocks", hp.memory.locked_blocks());
  left_behind("device contexts", hp.gdi.open_dcs());
  left_behind("open files", hp.files.open_handles() + hp.files.open_streams());
  left_behind("GDI objects", hp.gdi.live_objects());
  left_behind("memory blocks", hp.memory.live_blocks());
}

std::int32_t Input::take_int(int bytes) {
  std::uint32_t value = 0;
  for (int i = 0; i < bytes; ++i)
    if (at_ < size_) value |= std::uint32_t{data_[at_++]} << (8 * i);
  if (bytes < 4 && (value >> (8 * bytes - 1)) & 1u) value |= ~0u << (8 * bytes);
  return static_cast<std::int32_t>(value);
}

std::string_view Input::rest() const {
  return {reinterpret_cast<const char*>(data_) + at_, size_ - at_};
}

std::string one_line(std::string_view text, std::size_t max_bytes) {
  std::string line(text.substr(0, max_bytes));
  for (char& c : line)
    if (c == '\n' || c == '\r' || c == '\x1a' || c == '\0') c = '.';
  return line;
}

}  // namespace mowa::fuzz

// Before the first input: what a process loads once (the font
// configuration) is loaded here, so that it is not taken for a leak of the
// input that happened to load it.
extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  mowa::pf::HeadlessPlatform warm_up(nullptr);
  return 0;
}
