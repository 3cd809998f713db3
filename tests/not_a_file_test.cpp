// Names of things that are not files (a FIFO, a terminal, /dev/stdin) given
// where the program reads a file: refused at once with the box a missing
// file gets, before anything is read, so that nothing waits for ever.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "scenario_runner.h"

namespace mowa::test {
namespace {

struct Case {
  const char* statement;
  const char* box;
  const char* caption;
};

TEST(NotAFile, PictureAndSpriteNamesOfDevicesAreMissingFiles) {
  Scenario s;
  ASSERT_EQ(::mkfifo((s.dir() + "/pipe.bmp").c_str(), 0600), 0);
  for (const Case c : {Case{"gload\"pipe.bmp,0,0,0\"", "pipe.bmpが見つからないの～、くすん。", "opendib"},
                       Case{"gload\"/dev/stdin,0,0,2\"", "/dev/stdinが見つからないの～、くすん。", "opendib"},
                       Case{"character\"pipe.bmp,0,0,1,0\"", "pipe.bmpが見つからないの～、くすん。", "opendib"},
                       Case{"character\"/dev/zero,0,0,1,0\"", "/dev/zeroが見つからないの～、くすん。", "opendib"}}) {
    s.script(std::string(c.statement) + "\nend\n");
    const RunResult r = s.run();
    ASSERT_EQ(r.exit_code, 0) << c.statement;
    const auto boxes = r.of("message_box");
    ASSERT_EQ(boxes.size(), 2u) << c.statement;
    EXPECT_EQ(boxes[0].at("text"), c.box);
    EXPECT_EQ(boxes[0].at("caption"), c.caption);
  }
}

TEST(NotAFile, ScenarioThatIsAFifoIsMissingAndSaveFileThatIsADeviceIsNotRead) {
  Scenario fifo;
  std::filesystem::remove(fifo.dir() + "/data/mowa.snr");
  ASSERT_EQ(::mkfifo((fifo.dir() + "/data/mowa.snr").c_str(), 0600), 0);
  const RunResult r = fifo.run();
  EXPECT_EQ(r.exit_code, 0);
  ASSERT_FALSE(r.box_texts().empty());
  EXPECT_EQ(r.box_texts()[0], "mowa.snrが見つからないの～、くすん。");

  Scenario device;
  ASSERT_EQ(::mkfifo((device.dir() + "/data/save.dat").c_str(), 0600), 0);
  device.script("load\nend\n");
  EXPECT_EQ(device.run().box_texts().at(0), "save.datが見つからないの～、くすん。");
}

}  // namespace
}  // namespace mowa::test
