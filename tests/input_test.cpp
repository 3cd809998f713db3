// Mouse, keyboard and window-manager input reaching the scenario, floods of
// it, the idle sleep of a polling loop, and the runner's own options.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "support/in_process.h"
#include "support/scenario_runner.h"

namespace mowa::test {
namespace {

// Waits for a button state, then reports the buttons and the position.
constexpr char kWaitForButtons[] =
    "[loop]\nget_mouse_state\"@10\"\nif\"@10=0,loop,go\"\n[go]\n"
    "get_mouse_position\"@11;@12\"\ncheck\"@10\"\ncheck\"@11\"\ncheck\"@"
    "12\"\nend\n";
constexpr char kTextLoop[] = "[loop]\ntextmode\ngoto\"loop\"\n";
constexpr char kTwoWaits[] = "wait\"500\"\ntextmode\nwait\"500\"\ntextmode\n";
Outcome buttons(long b, long x, long y) {
  return {"", {check_box(b, 6), check_box(x, 7), check_box(y, 8), kFarewell}};
}
const Outcome kGoodbyeAfterTwo{
    "[textmode]\n[textmode]\n", {kFarewell}, kFarewellCaption};
const Outcome kStopped{"", {}, "", "", {}, 3};  // by the step limit
const Outcome kRefused{"", {}, "", "", {}, 2};  // before the program starts
// A start-up allocation that fails: its box, then the farewell.
Outcome no_memory(const char* text) {
  return {"", {text, kFarewell}, "Program", "none"};
}

TEST(Input, ReachesTheScenarioAndTheRunnerTakesItsOptions) {
  using Options = std::vector<std::string>;
  const Options k100{"--max-steps", "100"};
  const struct {
    const char* script;
    const char* input;
    Options options;
    Outcome expected;
    const char* err = "";  // part of what the runner says on standard error
  } cases[] = {
      // clang-format off
      {kWaitForButtons, "4 move 100 200\n6 ldown\n", {}, buttons(1, 100, 200)},
      {kWaitForButtons, "5 rdown\n", {}, buttons(2, 0, 0)},
      {kWaitForButtons, "5 move 639 479\n5 ldown\n5 rdown\n", {},
       buttons(3, 639, 479)},
      {kWaitForButtons, "5 ldbl\n", {}, buttons(1, 0, 0)},
      {kWaitForButtons, "5 rdbl\n", {}, buttons(2, 0, 0)},
      // A press and release between two reads leave no trace.
      {kWaitForButtons, "5 ldown\n5 lup\n", {"--max-steps", "60"}, kStopped,
       "stopped after 60 idle steps"},
      {"@01=7\n@02=7\nget_mouse_position\"@01,@02\"\ncheck\"@01\"\n"
       "check\"@02\"\nend\n", "", {},
       {"", {check_box(0, 4), check_box(0, 5), kFarewell}}},
      // Escape and close say goodbye between statements.
      {kTextLoop, "3 key 27\n", k100, kGoodbyeAfterTwo},
      {kTextLoop, "3 close\n", k100, kGoodbyeAfterTwo},
      {"[loop]\ngoto\"loop\"\n", "2 key 13\n3 key 65\n", {"--max-steps", "20"},
       kStopped},
      // Escape waits for the running statement: pressed during the first
      // wait, the step after it never starts.
      {kTwoWaits, "0 key 27\n", {}, {"", {kFarewell}, kFarewellCaption}},
      {kTwoWaits, "1 key 27\n", {},
       {"", {kFarewell}, kFarewellCaption, "main", {"500"}}},
      {"end\n", "# fine\n\n3 ldown\n4 jump\n", {}, kRefused, "input line 4"},
      {"end\n", "x move 1 2\n", {}, kRefused, "input line 1"},
      {"end\n", "1 move 1\n", {}, kRefused, "input line 1"},
      {"end\n", "1 key 300\n", {}, kRefused, "input line 1"},
      {"end\n", "", {"--fail", "nonsense@x"}, kRefused},
      // Without its window class or its window the program leaves at once,
      // without a box.
      {"end\n", "", {"--fail", "RegisterClassA"}, {}},
      {"end\n", "", {"--fail", "CreateWindowExA@1"}, {}},
      {"end\n", "", {"--fail", "CreateWindowExA"}, {}},
      // An end whose post fails still says goodbye, and nothing after it runs.
      {"end\ntextmode\nend\n", "", {"--fail", "PostMessageA", "--max-steps",
       "50"}, {"", {kFarewell}, kFarewellCaption}},
      {"end\n", "", {"--fail", "GlobalAlloc@1"},
       no_memory("ＢＩＴＭＡＰ用のメモリが取れないの")},
      {"end\n", "", {"--fail", "GlobalAlloc@2"},
       no_memory("ＢＩＴＭＡＰ（バックグラウンド）用のメモリが取れないの")},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.script) + " with input " + c.input);
    Scenario s;
    s.script(c.script);
    const RunResult r = s.run(c.options, c.input);
    expect_outcome(r, c.expected);
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    EXPECT_EQ(r.events.empty(), r.exit_code == 2);
    if (r.exit_code == 0) {
      EXPECT_EQ(r.of("exit").at(0).at("code"), "0");
    }
    // The display is switched and restored by every run the program ends,
    // even one without its window class.
    if (r.exit_code < 2) {
      const auto changes = r.of("display_change");
      ASSERT_EQ(changes.size(), 2u);
      EXPECT_EQ(changes[0].at("width") + "x" + changes[0].at("height"),
                "640x480");
      EXPECT_EQ(changes[1].at("width") + "x" + changes[1].at("bpp"), "1024x32");
      // What start-up made is released, with a window or without.
      const Event held = r.of("held").at(0);
      EXPECT_EQ(held.at("gdi_objects") + " " + held.at("blocks"), "0 0");
    }
  }
}

// The main loop may sleep only while the scenario runs a loop that does
// nothing but poll the mouse and finds everything as on its previous round.
TEST(Input, OnlyALoopThatComesRoundUnchangedLetsTheLoopSleep) {
  // A click loop that marks each click; the second click lands where the
  // first did.
  Scenario s;
  s.script(
      "[wait]\nget_mouse_state\"@01\"\nif\"@01=0,wait,down\"\n"
      "[down]\nget_mouse_position\"@02,@03\"\nboxfill\"@02,@03,@02,@03,255\"\n"
      "[up]\nget_mouse_state\"@01\"\nif\"@01=1,up,wait\"\n");
  const shell::Mouse still{5, 6, 0, 0}, pressed{5, 6, 1, 0};
  // Each step is followed by one with the same mouse that never sleeps: the
  // `if`, or after the position the mark.
  const struct {
    const char* what;
    shell::Mouse mouse;  // as the window procedure left it
    bool sleeps;
  } steps[] = {
      // clang-format off
      {"first read of the wait loop", still, false},
      {"the wait loop comes round unchanged", still, true},
      {"and again", still, true}, {"the press is read", pressed, false},
      {"the position right after the buttons, then the mark", pressed, false},
      {"first read of the release loop", pressed, false},
      {"the release loop comes round unchanged", pressed, true},
      {"the release is read", still, false},
      {"the wait loop with the new position in the variables", still, false},
      {"the wait loop comes round unchanged", still, true},
      {"a press where the last one was", pressed, false},
      {"the position as at the last press, but a mark came between", pressed,
       false},
      // clang-format on
  };
  InProcess run(s);
  for (const auto& step : steps) {
    for (const bool sleeps : {step.sleeps, false}) {
      run.p.shell.mouse = step.mouse;
      Program::Turn turn = run.p.step();
      while (turn == Program::Turn::kMessage) turn = run.p.step();
      EXPECT_EQ(turn == Program::Turn::kMouseUnchanged, sleeps) << step.what;
    }
  }
}

// Pointer movements are merged as the window system merges them, and no
// press is lost among them.
TEST(Input, MovementsQueuedTogetherArriveAsOneAndPressesKeepTheirPlace) {
  pf::HeadlessPlatform hp(stdout);
  using Got = std::vector<std::pair<pf::Uint, pf::Lparam>>;
  Got got;
  const auto record = [](void* context, pf::Hwnd, pf::Uint message, pf::Wparam,
                         pf::Lparam lparam) {
    static_cast<Got*>(context)->emplace_back(message, lparam);
    return pf::Lresult{0};
  };
  const pf::WndClassA wc{0, record, &got, "Flood"};
  ASSERT_NE(hp.window.RegisterClassA(&wc), 0);
  ASSERT_NE(
      hp.window.CreateWindowExA(0, "Flood", "", 0, 0, 0, 640, 480, nullptr),
      nullptr);
  using Kind = pf::InputEvent::Kind;
  std::vector<pf::InputEvent> input;
  for (int i = 0; i < 100'000; ++i)
    input.push_back({0, Kind::kMove, i % 640, i % 480, 0});
  input.push_back({0, Kind::kLeftDown, 0, 0, 0});
  for (int i = 0; i < 50'000; ++i)
    input.push_back({0, Kind::kMove, i % 640, 7, 0});
  input.push_back({0, Kind::kLeftUp, 0, 0, 0});
  input.push_back({0, Kind::kMove, 321, 123, 0});
  hp.window.set_input(std::move(input));
  pf::Msg m;
  while (hp.window.PeekMessageA(&m, nullptr, 0, 0, pf::PM_REMOVE) &&
         got.size() < 100)
    hp.window.DispatchMessageA(&m);
  std::vector<pf::Uint> messages;
  for (const auto& [message, lparam] : got) messages.push_back(message);
  EXPECT_EQ(messages,
            (std::vector<pf::Uint>{pf::WM_MOUSEMOVE, pf::WM_LBUTTONDOWN,
                                   pf::WM_MOUSEMOVE, pf::WM_LBUTTONUP,
                                   pf::WM_MOUSEMOVE}));
  EXPECT_EQ(got.back().second, (123 << 16) | 321);
}

TEST(Input, TheStatementAfterALongWaitSeesTheLastPositionAndEveryHeldPress) {
  // 100,000 movements arrive while the first wait runs. Then each press is
  // held over a whole turn of the loop, among more movements; the loop
  // counts the presses it sees begin.
  std::string input;
  for (int i = 0; i < 100'000; ++i)
    input += "1 move " + std::to_string(i % 640) + " " +
             std::to_string(i % 480) + "\n";
  input += "1 move 321 123\n";
  for (int press = 0; press < 20; ++press) {
    const std::string at = std::to_string(10 + press * 40);
    for (int i = 0; i < 1'000; ++i)
      input += at + " move " + std::to_string(i % 640) + " 9\n";
    input += at + " ldown\n" + std::to_string(30 + press * 40) + " lup\n";
  }
  Scenario s;
  s.script(
      "wait\"600000\"\n"
      "get_mouse_position\"@01,@02\"\ncheck\"@01\"\ncheck\"@02\"\n"
      "[loop]\nget_mouse_state\"@05\"\nif\"@05=@06,same,changed\"\n"
      "[changed]\n@06=@05\nif\"@05=0,same,pressed\"\n[pressed]\n@07=@07+1\n"
      "[same]\nif\"@07<20,loop,done\"\n[done]\ncheck\"@07\"\nend\n");
  Outcome expected{
      "", {check_box(321, 3), check_box(123, 4), check_box(20, 16), kFarewell}};
  expected.sleeps_ms = {"600000"};
  expect_outcome(s.run({"--max-steps", "5000"}, input), expected);
}

}  // namespace
}  // namespace mowa::test
