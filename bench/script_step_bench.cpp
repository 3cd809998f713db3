// One interpreter step at the end of a 10,000-line scenario: going straight
// to the line through the index of line starts, beside re-reading the file
// from its start line by line.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/interpreter.h"
#include "engine/line_index.h"
#include "platform/headless/headless_platform.h"
#include "shell/program.h"

namespace {

constexpr int kLines = 10'000;

class ScenarioFolder {
 public:
  ScenarioFolder() {
    dir_ = std::filesystem::temp_directory_path() / "mowa-bench-steps";
    std::filesystem::create_directories(dir_ / "data");
    std::ofstream out(dir_ / "data" / "mowa.snr", std::ios::binary);
    for (int i = 1; i < kLines; ++i)
      out << (i % 10 == 0 ? "# a comment line of some length\n"
                          : "@01=@01+1\n");
    out << "@02=@02+1\n";
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
  }
  ~ScenarioFolder() {
    std::filesystem::current_path(previous_);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

 private:
  std::filesystem::path dir_, previous_;
};

void step_at_end(benchmark::State& state, bool use_index) {
  ScenarioFolder folder;
  mowa::pf::HeadlessPlatform hp(stdout);
  mowa::Program p(hp.platform());
  p.script.use_line_index = use_index;
  for (auto _ : state) {
    p.script.pointer = kLines;
    benchmark::DoNotOptimize(mowa::engine::script_read(p.script, p));
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_StepIndexed(benchmark::State& state) { step_at_end(state, true); }
void BM_StepRereadFromStart(benchmark::State& state) {
  step_at_end(state, false);
}

BENCHMARK(BM_StepIndexed);
BENCHMARK(BM_StepRereadFromStart);

// What the index of a scenario of empty lines (its worst case) holds, per
// byte of the file.
void BM_IndexBytesPerScenarioByte(benchmark::State& state) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / "mowa-bench-index";
  std::filesystem::create_directories(dir);
  constexpr long kFileBytes = 1'000'000;
  std::ofstream(dir / "blank.snr", std::ios::binary)
      << std::string(kFileBytes, '\n');
  mowa::pf::HeadlessPlatform hp(stdout);
  const std::string name = (dir / "blank.snr").string();
  for (auto _ : state) {
    mowa::engine::LineIndex index;
    mowa::pf::Stream* file = hp.files.fopen(name.c_str(), "rt");
    index.seek(*file, hp.files.stamp(*file), kFileBytes / 2);
    hp.files.fclose(file);
    state.counters["bytes_per_file_byte"] =
        static_cast<double>(index.bytes_held()) / kFileBytes;
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_IndexBytesPerScenarioByte)->Unit(benchmark::kMillisecond);

}  // namespace
