// mowa-soak: the demo played headless pass after pass in one process, with
// its scripted clicks, while resident memory, open descriptors and GDI
// objects are sampled. Prints the samples and the slope of each over the
// second half of the passes (the first is the allocator's warm-up), and
// fails when a pass leaves anything held or either grows.
//   mowa-soak DEMO_DIR CLICKS_FILE PASSES
#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "shell/program.h"

namespace {

namespace fs = std::filesystem;

long resident_kb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

long open_descriptors() {
  long count = 0;
  if (DIR* d = ::opendir("/proc/self/fd")) {
    while (const dirent* e = ::readdir(d)) count += e->d_name[0] != '.';
    ::closedir(d);
  }
  return count - 1;  // the one opendir holds
}

// Least-squares slope of y over x.
double slope(const std::vector<double>& x, const std::vector<double>& y) {
  const double n = static_cast<double>(x.size());
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    sx += x[i];
    sy += y[i];
    sxx += x[i] * x[i];
    sxy += x[i] * y[i];
  }
  const double d = n * sxx - sx * sx;
  return d == 0 ? 0 : (n * sxy - sx * sy) / d;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: mowa-soak DEMO_DIR CLICKS_FILE PASSES\n");
    return 2;
  }
  const long passes = std::atol(argv[3]);
  std::ifstream clicks_file(argv[2], std::ios::binary);
  std::stringstream clicks_text;
  clicks_text << clicks_file.rdbuf();
  std::vector<mowa::pf::InputEvent> clicks;
  std::string error;
  if (passes < 1 ||
      !mowa::pf::parse_input_script(clicks_text.str(), clicks, error)) {
    std::fprintf(stderr, "mowa-soak: %s\n",
                 error.empty() ? "bad pass count" : error.c_str());
    return 2;
  }
  std::string folder =
      (fs::temp_directory_path() / "mowa-soak-XXXXXX").string();
  if (!::mkdtemp(folder.data())) return 1;
  fs::copy(fs::path(argv[1]) / "data", fs::path(folder) / "data",
           fs::copy_options::recursive);
  fs::current_path(folder);
  std::FILE* trace = std::fopen("/dev/null", "w");
  // The headless boxes report on standard error; the soak's own reports go
  // where standard error went.
  std::FILE* report = ::fdopen(::dup(2), "w");
  if (!report || !std::freopen("/dev/null", "w", stderr)) return 1;

  const long every = passes >= 100 ? passes / 100 : 1;
  std::vector<double> at, rss, fds;
  int failures = 0;
  std::printf("pass resident_kb descriptors\n");
  for (long pass = 1; pass <= passes; ++pass) {
    std::size_t held = 0;
    int code = -1;
    {
      mowa::pf::HeadlessPlatform hp(trace);
      hp.window.set_input(clicks);
      mowa::Program program(hp.platform());
      program.set_step_limit(20'000);
      // The clicks are keyed to the statements run.
      mowa::shell::EachTurn hooks(
          [&](const mowa::Program& p) { hp.log.steps = p.steps(); });
      code = mowa::shell::run(program, mowa::pf::SW_SHOWNORMAL, &hooks) ==
                     mowa::shell::RunEnd::kStepLimit
                 ? 3
                 : program.exit_code();
      held = hp.gdi.live_objects() + hp.gdi.open_dcs() +
             hp.memory.live_blocks() + hp.files.open_handles() +
             hp.files.open_streams();
    }
    if (code != 0 || held != 0) {
      std::fprintf(report,
                   "mowa-soak: pass %ld ended with %d, %zu things held\n", pass,
                   code, held);
      ++failures;
    }
    if (pass % every == 0) {
      const long kb = resident_kb(), descriptors = open_descriptors();
      std::printf("%ld %ld %ld\n", pass, kb, descriptors);
      std::fflush(stdout);
      if (pass > passes / 2) {
        at.push_back(static_cast<double>(pass));
        rss.push_back(static_cast<double>(kb));
        fds.push_back(static_cast<double>(descriptors));
      }
    }
  }
  const double rss_slope = slope(at, rss) * 1000,
               fd_slope = slope(at, fds) * 1000;
  std::printf(
      "slope per 1000 passes over the second half: resident %+.1f kB, "
      "descriptors %+.2f\n",
      rss_slope, fd_slope);
  std::fclose(trace);
  fs::current_path("/");
  fs::remove_all(folder);
  // A descriptor a pass is no noise; the resident size may wander by a page
  // or two as the allocator settles, but 100 bytes a pass is a leak.
  if (fd_slope > 0.5 || rss_slope > 100) ++failures;
  return failures == 0 ? 0 : 1;
}
