// Windows file names and text mode on the host file system, and names of
// things that are not files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/common/faults.h"
#include "platform/common/host_files.h"
#include "support/scenario_runner.h"

namespace mowa::test {
namespace {

class HostFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(scenario_.dir());
  }
  void TearDown() override { std::filesystem::current_path(previous_); }
  std::string read_all(const char* name, const char* mode) {
    pf::Stream* s = files_.fopen(name, mode);
    if (!s) return "<none>";
    std::string r;
    for (int c; (c = s->fgetc()) != -1;) r += static_cast<char>(c);
    files_.fclose(s);
    return r;
  }

  Scenario scenario_;
  std::filesystem::path previous_;
  pf::Faults faults_;
  pf::HostFiles files_{faults_};
};

TEST_F(HostFilesTest, NamesResolveLikeWindowsNames) {
  // 表 is 0x95 0x5C in code page 932: its second byte is no separator.
  scenario_.write("data/Pics/\xe8\xa1\xa8.bmp", "kanji");
  scenario_.write("data/Pics/x.bmp", "latin");
  const std::pair<const char*, const char*> cases[] = {
      {".\\data\\pics\\X.BMP", "latin"},
      {"DATA/PICS/x.bmp", "latin"},
      {"data\\Pics\\..\\pics\\x.bmp", "latin"},
      {".\\data\\pics\\\x95\x5c.bmp", "kanji"},
      {"data\\pics\\missing.bmp", "<none>"}};
  for (const auto& [name, content] : cases)
    EXPECT_EQ(read_all(name, "rb"), content) << name;
}

TEST_F(HostFilesTest, TextModeReadsCrLfAsLfAndStopsAtCtrlZ) {
  const std::string text = "a\r\nb\rc\r\n\r\032after";  // \032 is Ctrl-Z
  scenario_.write("t.txt", text);
  EXPECT_EQ(read_all("t.txt", "rt"), "a\nb\rc\n\r");
  EXPECT_EQ(read_all("T.TXT", "rb"), text);
  pf::Stream* s = files_.fopen("t.txt", "rt");
  char line[8];
  ASSERT_NE(s->fgets(line, 8), nullptr);
  EXPECT_STREQ(line, "a\n");
  EXPECT_EQ(s->ftell(), 3);  // the offset in the file, past CR LF
  files_.fclose(s);
}

TEST_F(HostFilesTest, WritingResolvesAnExistingNameInAnyCase) {
  std::filesystem::remove("data");
  scenario_.write("DATA/SAVE.DAT", "old");
  pf::Stream* s = files_.fopen(".\\data\\save.dat", "wb");
  ASSERT_NE(s, nullptr);
  s->fputc('n');
  EXPECT_EQ(files_.fclose(s), 0);
  EXPECT_EQ(scenario_.read("DATA/SAVE.DAT"), "n");
  EXPECT_FALSE(std::filesystem::exists("DATA/save.dat"));
}

TEST_F(HostFilesTest, WindowsFileCallsReadBytesExactly) {
  scenario_.write("b.bin", std::string("0123456789", 10));
  const pf::Hfile f = files_.OpenFile("B.BIN", pf::OF_READ);
  ASSERT_NE(f, pf::HFILE_ERROR);
  EXPECT_EQ(files_.GetFileSize(f, nullptr), 10u);
  EXPECT_EQ(files_.SetFilePointer(f, 4, nullptr, pf::FILE_BEGIN), 4u);
  char buf[16] = {};
  pf::Dword got = 0;
  EXPECT_TRUE(files_.ReadFile(f, buf, 16, &got, nullptr));
  EXPECT_EQ(got, 6u);  // a short read at the end still succeeds
  EXPECT_STREQ(buf, "456789");
  EXPECT_TRUE(files_.CloseHandle(f));
  EXPECT_FALSE(files_.CloseHandle(f));
  EXPECT_EQ(files_.OpenFile("nothing", pf::OF_READ), pf::HFILE_ERROR);
  EXPECT_EQ(files_.open_handles(), 0u);
}

TEST_F(HostFilesTest, CurrentDirectoryReportsTheNeededSize) {
  char small[4];
  const pf::Dword need = files_.GetCurrentDirectoryA(sizeof small, small);
  std::string full(need, '\0');
  EXPECT_EQ(files_.GetCurrentDirectoryA(need, full.data()), need - 1);
  EXPECT_EQ(full.c_str(), std::filesystem::current_path().string());
}

// A FIFO, a terminal or /dev/stdin given where the program reads a file is
// refused at once with the box a missing file gets, before anything is read,
// so that nothing waits for ever. (The scenario file: see scenario_file_test;
// the save file: save_file_test.)
TEST(NotAFile, DevicesAreMissingFiles) {
  const struct {
    const char* script;
    const char* name;  // as the box says it
  } cases[] = {
      {"gload\"pipe.bmp,0,0,0\"", "pipe.bmp"},
      {"gload\"/dev/stdin,0,0,2\"", "/dev/stdin"},
      {"character\"pipe.bmp,0,0,1,0\"", "pipe.bmp"},
      {"character\"/dev/zero,0,0,1,0\"", "/dev/zero"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    Scenario s;
    ASSERT_EQ(::mkfifo((s.dir() + "/pipe.bmp").c_str(), 0600), 0);
    s.script(std::string(c.script) + "\nend\n");
    expect_outcome(
        s.run(),
        {"",
         {std::string(c.name) + "が見つからないの～、くすん。", kFarewell},
         "opendib"});
  }
}

}  // namespace
}  // namespace mowa::test
