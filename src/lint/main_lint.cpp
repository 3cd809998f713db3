// mowa-lint: checks the scenario DIR/data/mowa.snr (DIR defaults to the
// current folder) and the files it names, and reports each finding as
// FILE:LINE:COLUMN: error|warning: message [NAME].
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "lint/lint.h"
#include "platform/common/faults.h"
#include "platform/common/host_files.h"

namespace {

constexpr char kUsage[] =
    "usage: mowa-lint [--json] [-W no-NAME]... [--list | --list-markdown] "
    "[DIR]\n"
    "Checks the scenario DIR/data/mowa.snr (DIR defaults to the current\n"
    "folder) and the files it names. --json prints one JSON object a finding;\n"
    "-W no-NAME silences the findings of one kind; --list names every kind,\n"
    "--list-markdown gives the guide's tables of them.\n"
    "Exit status: 1 when there is an error, 0 otherwise, 2 for a usage "
    "error.\n";

int usage_error(const std::string& why) {
  std::fprintf(stderr, "mowa-lint: %s\n%s", why.c_str(), kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool json = false;
  std::string dir;
  std::set<std::string> silenced;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (a == "--list") {
      for (const mowa::lint::Kind& k : mowa::lint::kinds())
        std::printf(
            "%-20s %-7s %s\n", k.name,
            k.severity == mowa::lint::Severity::error ? "error" : "warning",
            k.summary);
      return 0;
    }
    if (a == "--list-markdown") {
      std::fputs(mowa::lint::guide_tables().c_str(), stdout);
      return 0;
    }
    if (a == "--json") {
      json = true;
    } else if (a == "-W" || a.rfind("-W", 0) == 0) {
      std::string value = a.size() > 2 ? a.substr(2) : "";
      if (value.empty()) {
        if (i + 1 >= argc) return usage_error("-W needs no-NAME");
        value = argv[++i];
      }
      if (value.rfind("no-", 0) != 0 || !mowa::lint::find_kind(value.substr(3)))
        return usage_error("-W takes no-NAME with a NAME from --list, not " +
                           value);
      silenced.insert(value.substr(3));
    } else if (!a.empty() && a[0] == '-') {
      return usage_error("unknown option " + a);
    } else if (dir.empty()) {
      dir = a;
    } else {
      return usage_error("only one folder can be checked");
    }
  }
  const std::string shown =
      dir.empty() ? "data/mowa.snr"
                  : (std::filesystem::path(dir) / "data" / "mowa.snr").string();
  if (!dir.empty()) {
    std::error_code ec;
    std::filesystem::current_path(dir, ec);
    if (ec) return usage_error("cannot enter " + dir + ": " + ec.message());
  }
  mowa::pf::Faults faults;
  mowa::pf::HostFiles files(faults);
  bool any_error = false;
  for (const mowa::lint::Finding& f : mowa::lint::lint_scenario(files)) {
    if (silenced.count(f.name)) continue;
    any_error = any_error || f.severity == mowa::lint::Severity::error;
    const std::string line = json ? mowa::lint::format_json(shown, f)
                                  : mowa::lint::format_text(shown, f);
    std::printf("%s\n", line.c_str());
  }
  return any_error ? 1 : 0;
}
