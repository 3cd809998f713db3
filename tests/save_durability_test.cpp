// A save survives a power loss at any moment: the new bytes reach the disk
// under another name, replace the old file by a rename, and the folder that
// holds the rename reaches the disk last.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/save_file.h"
#include "platform/headless/headless_platform.h"
#include "scenario_runner.h"
#include "shell/program.h"

namespace mowa::test {
namespace {

// The host files, with every call that puts a file in place written down.
class RecordingFiles final : public pf::FileService, public pf::FileReplacement {
 public:
  explicit RecordingFiles(pf::HostFiles& host) : host_(host) {}
  std::vector<std::string> calls;

  pf::Hfile OpenFile(const char* path, pf::Uint style) override { return host_.OpenFile(path, style); }
  pf::Dword SetFilePointer(pf::Hfile f, pf::Long d, pf::Long* high, pf::Dword m) override {
    return host_.SetFilePointer(f, d, high, m);
  }
  pf::Bool ReadFile(pf::Hfile f, void* b, pf::Dword n, pf::Dword* r, void* o) override {
    return host_.ReadFile(f, b, n, r, o);
  }
  pf::Dword GetFileSize(pf::Hfile f, pf::Dword* high) override { return host_.GetFileSize(f, high); }
  pf::Bool CloseHandle(pf::Hfile f) override { return host_.CloseHandle(f); }
  pf::Dword GetCurrentDirectoryA(pf::Dword n, char* b) override { return host_.GetCurrentDirectoryA(n, b); }
  pf::Stream* fopen(const char* path, const char* mode) override {
    calls.push_back(std::string("fopen ") + path + " " + mode);
    return host_.fopen(path, mode);
  }
  int fclose(pf::Stream* s) override {
    calls.push_back("fclose");
    return host_.fclose(s);
  }
  int fsync(pf::Stream& s) override {
    calls.push_back("fsync");
    return host_.fsync(s);
  }
  int rename(const char* from, const char* to) override {
    calls.push_back(std::string("rename ") + from + " " + to);
    return host_.rename(from, to);
  }
  int remove(const char* path) override {
    calls.push_back(std::string("remove ") + path);
    return host_.remove(path);
  }
  int sync_folder(const char* path) override {
    calls.push_back(std::string("sync_folder ") + path);
    return host_.sync_folder(path);
  }

 private:
  pf::HostFiles& host_;
};

TEST(SaveDurability, BytesThenRenameThenTheFolderReachTheDisk) {
  Scenario s;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(s.dir());
  {
    pf::HeadlessPlatform hp(stdout);
    RecordingFiles files(hp.files);
    const pf::Platform& h = hp.platform();
    pf::Platform platform{h.box,    h.clock, h.window, h.gdi,      h.display, h.sound,
                          h.memory, files,   h.versions, files,   h.out};
    Program program(platform);
    program.script.variables[99] = 0x01020304;
    engine::save(program.script);
    EXPECT_EQ(files.calls, (std::vector<std::string>{
                               "fopen .\\data\\save.dat.new wb", "fsync", "fclose",
                               "rename .\\data\\save.dat.new .\\data\\save.dat",
                               "sync_folder .\\data\\save.dat"}));
  }
  std::filesystem::current_path(previous);
  EXPECT_EQ(s.read("data/save.dat"), std::string(396, '\0') + "\x01\x02\x03\x04");
}

TEST(SaveDurability, AFolderThatCannotBeSyncedKeepsTheNewSaveAndSaysSo) {
  Scenario s;
  s.write("data/save.dat", std::string(400, 'o'));
  s.script("@00=7\nsave\nend\n");
  const RunResult r = s.run({"--fail", "sync_folder"});
  EXPECT_EQ(r.box_texts().at(0), "save.datに書き込めないの～、くすん。");
  EXPECT_EQ(s.read("data/save.dat"), std::string("\0\0\0\x07", 4) + std::string(396, '\0'));
}

}  // namespace
}  // namespace mowa::test
