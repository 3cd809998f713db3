#include "in_process.h"

#include <gtest/gtest.h>

#include "engine/interpreter.h"

namespace mowa::test {

InProcess::InProcess(const Scenario& s, const std::string& frames_dir)
    : previous_(std::filesystem::current_path()),
      out_(std::tmpfile()),
      log_(std::tmpfile()) {
  std::filesystem::current_path(s.dir());
  hp.log.open(log_);
  if (!frames_dir.empty()) {
    std::filesystem::create_directories(frames_dir);
    hp.presenter.set_frames_dir(frames_dir);
  }
  EXPECT_TRUE(p.start(pf::SW_SHOWNORMAL));
}

void InProcess::finish() {
  if (!finished_) p.finish();
  finished_ = true;
}

InProcess::~InProcess() {
  finish();
  if (expect_balanced) {
    EXPECT_EQ(hp.memory.locked_blocks(), 0u) << "image locks left";
    EXPECT_EQ(hp.gdi.open_dcs(), 0u) << "device contexts left";
  }
  std::fclose(log_);
  std::fclose(out_);
  std::filesystem::current_path(previous_);
}

void InProcess::statement() {
  engine::script_read(p.script, p);
  dispatch();
}

void InProcess::dispatch() {
  pf::Msg m{};
  while (hp.window.PeekMessageA(&m, nullptr, 0, 0, pf::PM_REMOVE) &&
         m.message != pf::WM_QUIT)
    hp.window.DispatchMessageA(&m);
}

void InProcess::statement_failing(const std::string& call) {
  hp.faults.fail_always(call);
  statement();
  hp.faults.clear(call);
}

std::vector<Event> InProcess::events() {
  std::fflush(log_);  // read through a file of its own, at its own offset
  return parse_events(slurp("/proc/self/fd/" + std::to_string(fileno(log_))));
}

std::vector<std::string> InProcess::boxes() {
  std::vector<std::string> all;
  for (const Event& e : events())
    if (e.at("ev") == "message_box")
      all.push_back(e.at("caption") + ": " + e.at("text"));
  std::vector<std::string> fresh(all.begin() + static_cast<long>(boxes_seen_),
                                 all.end());
  boxes_seen_ = all.size();
  return fresh;
}

Pixels InProcess::shown() {
  hp.window.present_all();
  const pf::Surface* s = hp.window.surface(hp.window.main_window());
  Pixels r(kWindowWidth * kWindowHeight, 0);
  for (int y = 0; s && y < kWindowHeight; ++y)
    for (int x = 0; x < kWindowWidth; ++x)
      r[static_cast<std::size_t>(y * kWindowWidth + x)] = s->at(x, y);
  return r;
}

PictureRun run_in_process(const Scenario& s) {
  PictureRun run;
  {
    InProcess program(s, s.dir() + "/.frames");
    while (program.p.step() != Program::Turn::kQuit) {
    }
    program.finish();
    EXPECT_EQ(program.hp.gdi.live_objects(), 0u) << "GDI objects left";
    run.screenshot = program.shown();
    run.result.events = program.events();
    run.result.exit_code = program.p.exit_code();
  }
  run.frames = read_frames(s.dir() + "/.frames");
  return run;
}

}  // namespace mowa::test
