// Positioning in the scenario file: the index of line starts must give
// exactly what reading the lines one by one gives, and follow edits.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/interpreter.h"
#include "engine/label_table.h"
#include "platform/headless/headless_platform.h"
#include "scenario_runner.h"
#include "shell/program.h"

namespace mowa::test {
namespace {

// Runs the program's routines in-process with the scenario's folder as the
// current directory.
class InProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(scenario_.dir());
    out_ = std::tmpfile();
    hp_ = std::make_unique<pf::HeadlessPlatform>(out_);
    program_ = std::make_unique<Program>(hp_->platform());
  }
  void TearDown() override {
    program_.reset();
    hp_.reset();
    std::fclose(out_);
    std::filesystem::current_path(previous_);
  }
  std::string printed() {
    std::fflush(out_);
    std::rewind(out_);
    std::string s;
    for (int c; (c = std::fgetc(out_)) != EOF;) s += static_cast<char>(c);
    return s;
  }
  // The line that the next read returns after script_seek to `n`.
  std::string line_after_seek(std::int32_t n) {
    pf::Stream* f = hp_->files.fopen(".\\data\\mowa.snr", "rt");
    EXPECT_NE(f, nullptr);
    engine::script_seek(program_->script, *f, n);
    char line[256];
    const char* got = f->fgets(line, 256);
    std::string r = got ? std::string(got) : std::string("<end>");
    hp_->files.fclose(f);
    return r;
  }

  Scenario scenario_;
  std::filesystem::path previous_;
  std::FILE* out_ = nullptr;
  std::unique_ptr<pf::HeadlessPlatform> hp_;
  std::unique_ptr<Program> program_;
};

TEST_F(InProcess, IndexedSeekMatchesReadingLineByLine) {
  std::string text = "first\r\n\nsecond\rstill second\n";
  text += std::string(300, 'a') + "\n" + std::string(600, 'b') + "\r\n";
  text += std::string(254, 'c') + "\n" + std::string(255, 'd') + "\n";
  text += "[label]\r\nlast without line feed";
  scenario_.write("data/mowa.snr", text);
  for (std::int32_t n = -2; n < 16; ++n) {
    program_->script.use_line_index = false;
    const std::string plain = line_after_seek(n);
    program_->script.use_line_index = true;
    EXPECT_EQ(line_after_seek(n), plain) << "line " << n;
  }
  // Long enough that lines are reached from the index's entries, with lines
  // of two reads, CR LF and empty lines on and around their boundaries.
  std::string many;
  for (int i = 0; i < 70; ++i)
    many += i % 7 == 3 ? std::string(300 + i, 'x') + "\r\n" : i % 5 == 0 ? "\n" : "line" + std::to_string(i) + "\n";
  scenario_.write("data/mowa.snr", many);
  for (std::int32_t n = 1; n < 95; ++n) {
    program_->script.use_line_index = false;
    const std::string plain = line_after_seek(n);
    program_->script.use_line_index = true;
    EXPECT_EQ(line_after_seek(n), plain) << "line " << n;
  }
  scenario_.write("data/mowa.snr", "one\ntwo\n\x1a" "three\n");
  for (std::int32_t n = 0; n < 6; ++n) {
    program_->script.use_line_index = false;
    const std::string plain = line_after_seek(n);
    program_->script.use_line_index = true;
    EXPECT_EQ(line_after_seek(n), plain) << "line " << n;
  }
}

TEST_F(InProcess, EditedScenarioIsReadAtTheNextStep) {
  scenario_.script("textmode\ntextmode\ntextmode\nend\n");
  EXPECT_EQ(engine::script_read(program_->script, *program_), 0);
  // Same size, new statements: the step after the edit reads them.
  scenario_.script("textmode\ndummy\"\"\nscreen_big\nend\n");
  std::filesystem::last_write_time(
      std::filesystem::path(scenario_.dir()) / "data/mowa.snr",
      std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5));
  EXPECT_EQ(engine::script_read(program_->script, *program_), 0);
  EXPECT_EQ(engine::script_read(program_->script, *program_), 0);
  EXPECT_EQ(printed(), "[textmode]\ndummy or not defined\n[screen_big]\n");
  // A longer file is indexed again too.
  scenario_.script("x\nx\nx\n\n\n\ntextmode\nend\n");
  EXPECT_EQ(engine::script_read(program_->script, *program_), 0);
  EXPECT_EQ(printed(), "[textmode]\ndummy or not defined\n[screen_big]\n[textmode]\n");
}

TEST_F(InProcess, RemovedScenarioEndsTheRun) {
  scenario_.script("textmode\ntextmode\n");
  EXPECT_EQ(engine::script_read(program_->script, *program_), 0);
  std::filesystem::remove(std::filesystem::path(scenario_.dir()) / "data/mowa.snr");
  EXPECT_EQ(engine::script_read(program_->script, *program_), 1);
}

}  // namespace
}  // namespace mowa::test
