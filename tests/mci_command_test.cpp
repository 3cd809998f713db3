// The MCI command strings: what is understood, what each mistake answers,
// and the error texts.
#include "platform/common/mci_command.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "platform/common/mci_errors.h"

namespace mowa::pf {
namespace {

using Verb = MciCommand::Verb;

struct ParseCase {
  const char* name;
  const char* text;
  McError error;
  Verb verb = Verb::kOpen;
  const char* path = "";
  const char* alias = "";
  bool notify = false;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class MciParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(MciParseTest, Parses) {
  const ParseCase& c = GetParam();
  MciCommand command;
  ASSERT_EQ(parse_mci_command(c.text, command), c.error);
  if (c.error != 0) return;
  EXPECT_EQ(command.verb, c.verb);
  EXPECT_EQ(command.path, c.path);
  EXPECT_EQ(command.alias, c.alias);
  EXPECT_EQ(command.notify, c.notify);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, MciParseTest,
    ::testing::Values(
        ParseCase{"open",
                  "open C:\\work\\data\\x.mid type sequencer alias myseq", 0,
                  Verb::kOpen, "C:\\work\\data\\x.mid", "myseq"},
        ParseCase{"open_path_with_spaces",
                  "open C:\\My Music\\a b.mid type sequencer alias myseq", 0,
                  Verb::kOpen, "C:\\My Music\\a b.mid", "myseq"},
        ParseCase{"open_path_holding_the_word_type",
                  "open C:\\a type b\\x.mid type sequencer alias s", 0,
                  Verb::kOpen, "C:\\a type b\\x.mid", "s"},
        ParseCase{"open_quoted_path",
                  "open \"C:\\a b\\x.mid\" type sequencer alias s", 0,
                  Verb::kOpen, "C:\\a b\\x.mid", "s"},
        ParseCase{"open_any_case_and_blanks",
                  "  OPEN\tx.mid  TYPE Sequencer\tALIAS Seq  ", 0, Verb::kOpen,
                  "x.mid", "Seq"},
        ParseCase{"open_notify", "open x.mid type sequencer alias s notify", 0,
                  Verb::kOpen, "x.mid", "s", true},
        ParseCase{"play_notify", "play myseq notify", 0, Verb::kPlay, "",
                  "myseq", true},
        ParseCase{"play", "play myseq", 0, Verb::kPlay, "", "myseq"},
        ParseCase{"close", "close myseq", 0, Verb::kClose, "", "myseq"},
        ParseCase{"nothing", "   ", MCIERR_MISSING_COMMAND_STRING},
        ParseCase{"unknown_command", "stop myseq", MCIERR_UNRECOGNIZED_COMMAND},
        ParseCase{"command_word_run_on", "playmyseq",
                  MCIERR_UNRECOGNIZED_COMMAND},
        ParseCase{"other_device_type", "open x.wav type waveaudio alias w",
                  MCIERR_INVALID_DEVICE_NAME},
        ParseCase{"no_type", "open x.mid alias s", MCIERR_DEVICE_TYPE_REQUIRED},
        ParseCase{"type_without_name", "open x.mid type ",
                  MCIERR_DEVICE_TYPE_REQUIRED},
        ParseCase{"no_file", "open type sequencer alias s",
                  MCIERR_FILENAME_REQUIRED},
        ParseCase{"open_alone", "open", MCIERR_FILENAME_REQUIRED},
        ParseCase{"no_alias", "open x.mid type sequencer",
                  MCIERR_NEW_REQUIRES_ALIAS},
        ParseCase{"alias_without_name", "open x.mid type sequencer alias",
                  MCIERR_MISSING_STRING_ARGUMENT},
        ParseCase{"open_unknown_keyword",
                  "open x.mid type sequencer alias s shareable",
                  MCIERR_UNRECOGNIZED_KEYWORD},
        ParseCase{"play_without_device", "play", MCIERR_MISSING_DEVICE_NAME},
        ParseCase{"play_unknown_keyword", "play myseq from 0",
                  MCIERR_UNRECOGNIZED_KEYWORD},
        ParseCase{"close_without_device", "close ",
                  MCIERR_MISSING_DEVICE_NAME}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MciParse, AliasesMatchWhateverTheirCase) {
  EXPECT_TRUE(same_alias("MySeq", "myseq"));
  EXPECT_FALSE(same_alias("myseq", "myseq2"));
}

TEST(MciErrorText, EveryCodeTheSequencerAnswersHasItsOwnText) {
  const McError codes[] = {
      0,
      MCIERR_UNRECOGNIZED_KEYWORD,
      MCIERR_UNRECOGNIZED_COMMAND,
      MCIERR_INVALID_DEVICE_NAME,
      MCIERR_MISSING_COMMAND_STRING,
      MCIERR_MISSING_STRING_ARGUMENT,
      MCIERR_FILE_NOT_FOUND,
      MCIERR_DEVICE_NOT_READY,
      MCIERR_DEVICE_TYPE_REQUIRED,
      MCIERR_DUPLICATE_ALIAS,
      MCIERR_MISSING_DEVICE_NAME,
      MCIERR_INVALID_FILE,
      MCIERR_NEW_REQUIRES_ALIAS,
      MCIERR_FILENAME_REQUIRED,
      MCIERR_DEVICE_NOT_INSTALLED,
      MCIERR_SEQ_PORT_INUSE,
  };
  std::set<std::string> seen;
  for (const McError code : codes) {
    char text[260];
    ASSERT_EQ(mci_error_text(code, text, sizeof text), kTrue) << code;
    EXPECT_GT(std::strlen(text), 10u) << code;
    EXPECT_TRUE(seen.insert(text).second) << "shared text: " << text;
  }
  // The numbers that callers compare against.
  EXPECT_EQ(MCIERR_FILE_NOT_FOUND, 275u);
  EXPECT_EQ(MCIERR_DUPLICATE_ALIAS, 289u);
  EXPECT_EQ(MCIERR_INVALID_DEVICE_NAME, 263u);
  EXPECT_EQ(MCIERR_UNRECOGNIZED_COMMAND, 261u);
}

TEST(MciErrorText, IsCutToTheBuffer) {
  char full[260];
  mci_error_text(MCIERR_FILE_NOT_FOUND, full, sizeof full);
  char small[8];
  std::memset(small, 'x', sizeof small);
  EXPECT_EQ(mci_error_text(MCIERR_FILE_NOT_FOUND, small, 5), kTrue);
  EXPECT_EQ(std::string(small), std::string(full, 4));
  EXPECT_EQ(small[5], 'x');  // nothing written past the length given
  EXPECT_EQ(mci_error_text(MCIERR_FILE_NOT_FOUND, small, 1), kTrue);
  EXPECT_EQ(small[0], '\0');
  EXPECT_EQ(mci_error_text(MCIERR_FILE_NOT_FOUND, small, 0), kFalse);
  EXPECT_EQ(mci_error_text(MCIERR_FILE_NOT_FOUND, nullptr, 260), kFalse);
}

TEST(MciErrorText, UnknownCodeIsNamedButNotKnown) {
  char text[64];
  EXPECT_EQ(mci_error_text(9999, text, sizeof text), kFalse);
  EXPECT_NE(std::string(text).find("9999"), std::string::npos);
}

}  // namespace
}  // namespace mowa::pf
