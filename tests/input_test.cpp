// Mouse, keyboard and window-manager input reaching the scenario, and the
// runner's own options.
#include <gtest/gtest.h>

#include "scenario_runner.h"

namespace mowa::test {
namespace {

// Waits for a button state, then reports the buttons and the position.
constexpr char kWaitForButtons[] =
    "[loop]\nget_mouse_state\"@10\"\nif\"@10=0,loop,go\"\n[go]\n"
    "get_mouse_position\"@11;@12\"\ncheck\"@10\"\ncheck\"@11\"\ncheck\"@12\"\nend\n";

TEST(Input, ButtonsAndPositionReachTheScenario) {
  struct Case {
    const char* input;
    long buttons, x, y;
  };
  for (const Case c : {
           Case{"4 move 100 200\n6 ldown\n", 1, 100, 200},
           Case{"5 rdown\n", 2, 0, 0},
           Case{"5 move 639 479\n5 ldown\n5 rdown\n", 3, 639, 479},
           Case{"5 ldbl\n", 1, 0, 0},
           Case{"5 rdbl\n", 2, 0, 0},
       }) {
    Scenario s;
    s.script(kWaitForButtons);
    const auto boxes = s.run({}, c.input).box_texts();
    ASSERT_EQ(boxes.size(), 4u) << c.input;
    EXPECT_EQ(boxes[0], "check=" + std::to_string(c.buttons) + "(script_pointer=6)\n") << c.input;
    EXPECT_EQ(boxes[1], "check=" + std::to_string(c.x) + "(script_pointer=7)\n") << c.input;
    EXPECT_EQ(boxes[2], "check=" + std::to_string(c.y) + "(script_pointer=8)\n") << c.input;
  }
}

TEST(Input, PressAndReleaseBetweenTwoReadsLeaveNoTrace) {
  Scenario s;
  s.script(kWaitForButtons);
  const RunResult r = s.run({"--max-steps", "60"}, "5 ldown\n5 lup\n");
  EXPECT_EQ(r.exit_code, 3);
  EXPECT_TRUE(r.box_texts().empty());
  EXPECT_NE(r.err.find("stopped after 60 idle steps"), std::string::npos) << r.err;
}

TEST(Input, PositionBeforeAnyMovementIsZero) {
  Scenario s;
  s.script("@01=7\n@02=7\nget_mouse_position\"@01,@02\"\ncheck\"@01\"\ncheck\"@02\"\nend\n");
  const auto boxes = s.run().box_texts();
  EXPECT_EQ(boxes.at(0), "check=0(script_pointer=4)\n");
  EXPECT_EQ(boxes.at(1), "check=0(script_pointer=5)\n");
}

TEST(Input, EscapeAndCloseSayGoodbyeBetweenStatements) {
  for (const char* input : {"3 key 27\n", "3 close\n"}) {
    Scenario s;
    s.script("[loop]\ntextmode\ngoto\"loop\"\n");
    const RunResult r = s.run({"--max-steps", "100"}, input);
    EXPECT_EQ(r.exit_code, 0) << input;
    EXPECT_EQ(r.out, "[textmode]\n[textmode]\n") << input;
    EXPECT_EQ(r.box_texts(), (std::vector<std::string>{"ばいばいもわもわ～！！"})) << input;
    EXPECT_EQ(r.of("message_box").at(0).at("caption"), "from 星屑の小瓶");
    EXPECT_EQ(r.of("exit").at(0).at("code"), "0");
  }
}

TEST(Input, OtherKeysDoNothing) {
  Scenario s;
  s.script("[loop]\ngoto\"loop\"\n");
  const RunResult r = s.run({"--max-steps", "20"}, "2 key 13\n3 key 65\n");
  EXPECT_EQ(r.exit_code, 3);
  EXPECT_TRUE(r.box_texts().empty());
}

TEST(Input, EscapeWaitsForTheRunningStatement) {
  Scenario s;
  s.script("wait\"500\"\ntextmode\nwait\"500\"\ntextmode\n");
  // Pressed during the first wait: the step after it never starts.
  const RunResult r = s.run({}, "0 key 27\n");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.of("sleep").size(), 0u);
  const RunResult later = s.run({}, "1 key 27\n");
  EXPECT_EQ(later.out, "");
  EXPECT_EQ(later.of("sleep").size(), 1u);
}

TEST(Input, TheDisplayIsSwitchedAndRestored) {
  Scenario s;
  s.script("end\n");
  const auto changes = s.run().of("display_change");
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].at("width"), "640");
  EXPECT_EQ(changes[0].at("height"), "480");
  EXPECT_EQ(changes[1].at("width"), "1024");
  EXPECT_EQ(changes[1].at("bpp"), "32");
}

TEST(Runner, MalformedInputNamesItsLine) {
  Scenario s;
  s.script("end\n");
  for (const char* input : {"# fine\n\n3 ldown\n4 jump\n", "x move 1 2\n",
                            "1 move 1\n", "1 key 300\n"}) {
    const RunResult r = s.run({}, input);
    EXPECT_EQ(r.exit_code, 2) << input;
    EXPECT_NE(r.err.find("input line"), std::string::npos) << r.err;
    EXPECT_TRUE(r.events.empty());
  }
  EXPECT_NE(s.run({}, "# fine\n\n3 ldown\n4 jump\n").err.find("line 4"),
            std::string::npos);
}

TEST(Runner, InjectedFailuresReachTheProgram) {
  Scenario s;
  s.script("end\n");
  // Without its window class the program leaves at once, without a box.
  const RunResult r = s.run({"--fail", "RegisterClassA"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_TRUE(r.box_texts().empty());
  EXPECT_EQ(r.of("display_change").size(), 2u);
  const RunResult no_window = s.run({"--fail", "CreateWindowExA@1"});
  EXPECT_TRUE(no_window.box_texts().empty());
  EXPECT_EQ(s.run({"--fail", "nonsense@x"}).exit_code, 2);
}

TEST(Runner, ImageMemoryFailuresAreReportedAtStartUp) {
  struct Case {
    const char* fault;
    std::vector<std::string> boxes;
  };
  for (const Case& c : {
           Case{"GlobalAlloc@1", {"ＢＩＴＭＡＰ用のメモリが取れないの"}},
           Case{"GlobalAlloc@2", {"ＢＩＴＭＡＰ（バックグラウンド）用のメモリが取れないの"}},
       }) {
    Scenario s;
    s.script("end\n");
    const RunResult r = s.run({"--fail", c.fault});
    ASSERT_EQ(r.box_texts().size(), 2u) << c.fault;
    EXPECT_EQ(r.box_texts()[0], c.boxes[0]);
    EXPECT_EQ(r.of("message_box")[0].at("caption"), "Program");
    EXPECT_EQ(r.of("message_box")[0].at("owner"), "none");
  }
}

}  // namespace
}  // namespace mowa::test
