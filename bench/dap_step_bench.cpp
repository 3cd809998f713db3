// The cost of one interpreter step without a debugger and with the debug
// adapter watching (running, no breakpoints), timed in turns within one run;
// the counter `ratio` is debugged / plain.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "debug/channel.h"
#include "debug/session.h"
#include "engine/interpreter.h"
#include "platform/headless/headless_platform.h"
#include "shell/program.h"

namespace {

constexpr int kLine = 50;

// Requests would come through this pipe; none ever does.
class SilentPipe final : public mowa::pf::RequestPipe {
 public:
  bool ready() const override { return false; }
  int read(char*, int, int) override { return 0; }
};

void BM_StepWithAndWithoutDebugger(benchmark::State& state) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / "mowa-bench-dap";
  std::filesystem::create_directories(dir / "data");
  {
    std::ofstream out(dir / "data" / "mowa.snr", std::ios::binary);
    for (int i = 1; i <= 2 * kLine; ++i) out << "@01=@01+1\n";
  }
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  {
    mowa::pf::HeadlessPlatform hp(stdout);
    mowa::Program p(hp.platform());
    std::FILE* sink = std::fopen("/dev/null", "w");
    mowa::debug::Channel channel(std::make_unique<SilentPipe>(), sink);
    mowa::debug::Session session(p, channel);
    using Clock = std::chrono::steady_clock;
    Clock::duration plain{}, debugged{};
    constexpr int kBatch = 200;
    for (auto _ : state) {
      for (int watched = 0; watched < 2; ++watched) {
        p.script.observer = watched ? &session : nullptr;
        const auto start = Clock::now();
        for (int i = 0; i < kBatch; ++i) {
          p.script.pointer = kLine;
          benchmark::DoNotOptimize(mowa::engine::script_read(p.script, p));
        }
        (watched ? debugged : plain) += Clock::now() - start;
      }
    }
    p.script.observer = nullptr;
    state.SetItemsProcessed(state.iterations() * kBatch);
    state.counters["ratio"] =
        plain.count() ? static_cast<double>(debugged.count()) / plain.count()
                      : 0;
    std::fclose(sink);
  }
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(dir);
}

}  // namespace

BENCHMARK(BM_StepWithAndWithoutDebugger);
