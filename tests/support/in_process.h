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
  // Starts the program on the folder's scenario; each frame it presents is
  // written under `frames_dir` when that is not empty.
  explicit InProcess(const Scenario& s, const std::string& frames_dir = {});
  ~InProcess();
  InProcess(const InProcess&) = delete;
  InProcess& operator=(const InProcess&) = delete;

  // Runs the next statement, then the messages it queued.
  void statement();
  // Handles the queued messages, as the main loop does between statements.
  void dispatch();
  // Runs the next statement with `call` failing throughout it.
  void statement_failing(const std::string& call);
  // The error boxes since the last look, as "caption: text".
  std::vector<std::string> boxes();
  Pixels shown();
  // The event log so far.
  std::vector<Event> events();
  // Ends the program as the runner does (the destructor does it otherwise).
  void finish();

  // Off where a release call was made to fail: then locks stay held.
  bool expect_balanced = true;

 private:
  std::filesystem::path previous_;
  std::FILE* out_;
  std::FILE* log_;
  std::size_t boxes_seen_ = 0;
  bool finished_ = false;

 public:
  pf::HeadlessPlatform hp{out_};
  Program p{hp.platform()};
};

// The whole scenario run in-process through the main loop, as mowa-headless
// runs it without options: its event log, its frames and the window it
// leaves; nothing may be left held, as after an end-to-end run.
PictureRun run_in_process(const Scenario& s);

}  // namespace mowa::test
