#include "in_process.h"

#include <gtest/gtest.h>

#include "engine/interpreter.h"

namespace mowa::test {

InProcess::InProcess(const Scenario& s)
    : previous_(std::filesystem::current_path()),
      out_(std::tmpfile()),
      log_(std::tmpfile()) {
  std::filesystem::current_path(s.dir());
  hp.log.open(log_);
  EXPECT_TRUE(p.start(pf::SW_SHOWNORMAL));
}

InProcess::~InProcess() {
  p.finish();
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

std::vector<std::string> InProcess::boxes() {
  std::fflush(log_);
  std::rewind(log_);
  std::string text;
  char buffer[4096];
  while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, log_))
    text.append(buffer, n);
  std::fseek(log_, 0, SEEK_END);
  std::vector<std::string> all;
  for (const Event& e : parse_events(text))
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

}  // namespace mowa::test
