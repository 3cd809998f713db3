// Floods of input: pointer movements are merged as the window system merges
// them, and no press is lost among them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "scenario_runner.h"

namespace mowa::test {
namespace {

struct Received {
  std::vector<pf::Uint> messages;
  pf::Lparam last_move = 0;
};

pf::Lresult record(void* context, pf::Hwnd, pf::Uint message, pf::Wparam, pf::Lparam lparam) {
  auto& r = *static_cast<Received*>(context);
  r.messages.push_back(message);
  if (message == pf::WM_MOUSEMOVE) r.last_move = lparam;
  return 0;
}

TEST(InputFlood, MovementsQueuedTogetherArriveAsOneAndPressesKeepTheirPlace) {
  pf::HeadlessPlatform hp(stdout);
  Received got;
  const pf::WndClassA wc{0, record, &got, "Flood"};
  ASSERT_NE(hp.window.RegisterClassA(&wc), 0);
  ASSERT_NE(hp.window.CreateWindowExA(0, "Flood", "", 0, 0, 0, 640, 480, nullptr), nullptr);
  std::vector<pf::InputEvent> input;
  const auto move = [&](int x, int y) {
    input.push_back({0, pf::InputEvent::Kind::kMove, x, y, 0});
  };
  for (int i = 0; i < 100'000; ++i) move(i % 640, i % 480);
  input.push_back({0, pf::InputEvent::Kind::kLeftDown, 0, 0, 0});
  for (int i = 0; i < 50'000; ++i) move(i % 640, 7);
  input.push_back({0, pf::InputEvent::Kind::kLeftUp, 0, 0, 0});
  move(321, 123);
  hp.window.set_input(std::move(input));

  pf::Msg m;
  while (hp.window.PeekMessageA(&m, nullptr, 0, 0, pf::PM_REMOVE) && got.messages.size() < 100)
    hp.window.DispatchMessageA(&m);
  const std::vector<pf::Uint> expected = {pf::WM_MOUSEMOVE, pf::WM_LBUTTONDOWN, pf::WM_MOUSEMOVE,
                                          pf::WM_LBUTTONUP, pf::WM_MOUSEMOVE};
  EXPECT_EQ(got.messages, expected);
  EXPECT_EQ(got.last_move, (123 << 16) | 321);
}

TEST(InputFlood, TheStatementAfterALongWaitSeesTheLastPositionAndEveryHeldPress) {
  // 100,000 movements arrive while the first wait runs. Then each press is
  // held over a whole turn of the loop, among more movements; the loop
  // counts the presses it sees begin.
  std::string input;
  for (int i = 0; i < 100'000; ++i)
    input += "1 move " + std::to_string(i % 640) + " " + std::to_string(i % 480) + "\n";
  input += "1 move 321 123\n";
  for (int press = 0; press < 20; ++press) {
    const int at = 10 + press * 40;
    for (int i = 0; i < 1'000; ++i)
      input += std::to_string(at) + " move " + std::to_string(i % 640) + " 9\n";
    input += std::to_string(at) + " ldown\n" + std::to_string(at + 20) + " lup\n";
  }
  Scenario s;
  s.script(
      "wait\"600000\"\n"
      "get_mouse_position\"@01,@02\"\ncheck\"@01\"\ncheck\"@02\"\n"
      "[loop]\nget_mouse_state\"@05\"\nif\"@05=@06,same,changed\"\n"
      "[changed]\n@06=@05\nif\"@05=0,same,pressed\"\n[pressed]\n@07=@07+1\n"
      "[same]\nif\"@07<20,loop,done\"\n[done]\ncheck\"@07\"\nend\n");
  const RunResult r = s.run({"--max-steps", "5000"}, input);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto boxes = r.box_texts();
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0], "check=321(script_pointer=3)\n");
  EXPECT_EQ(boxes[1], "check=123(script_pointer=4)\n");
  EXPECT_EQ(boxes[2].substr(0, 9), "check=20(");
}

}  // namespace
}  // namespace mowa::test
