// The program in-process, started in a scenario folder of its own: the
// scenario's statements run one at a time through the interpreter, so that a
// test can make a call fail for exactly one statement and read the boxes and
// the window straight after it.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "scenario_runner.h"
#include "shell/program.h"
#include "window_capture.h"

namespace mowa::test {

class InProcess {
 public:
  // Starts the program on the folder's scenario.
  explicit InProcess(const Scenario& s);
  ~InProcess();
  InProcess(const InProcess&) = delete;
  InProcess& operator=(const InProcess&) = delete;

  // Runs the next statement, then the messages it queued.
  void statement();
  // Runs the next statement with `call` failing throughout it.
  void statement_failing(const std::string& call);
  // The error boxes since the last look, as "caption: text".
  std::vector<std::string> boxes();
  Pixels shown();

  // Off where a release call was made to fail: then locks stay held.
  bool expect_balanced = true;

 private:
  std::filesystem::path previous_;
  std::FILE* out_;
  std::FILE* log_;
  std::size_t boxes_seen_ = 0;

 public:
  pf::HeadlessPlatform hp{out_};
  Program p{hp.platform()};
};

}  // namespace mowa::test
