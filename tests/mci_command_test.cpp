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

TEST(MciParse, UnderstandsTheSequencerCommandsAndNamesEachMistake) {
  const struct {
    const char* text;
    McError error;
    Verb verb = Verb::kOpen;
    const char* path = "";
    const char* alias = "";
    bool notify = false;
  } cases[] = {
      {"open C:\\work\\x.mid type sequencer alias myseq", 0, Verb::kOpen, "C:\\work\\x.mid",
       "myseq"},
      {"open C:\\My Music\\a b.mid type sequencer alias s", 0, Verb::kOpen,
       "C:\\My Music\\a b.mid", "s"},
      {"open C:\\a type b\\x.mid type sequencer alias s", 0, Verb::kOpen,
       "C:\\a type b\\x.mid", "s"},
      {"open \"C:\\a b\\x.mid\" type sequencer alias s", 0, Verb::kOpen, "C:\\a b\\x.mid", "s"},
      {"  OPEN\tx.mid  TYPE Sequencer\tALIAS Seq  ", 0, Verb::kOpen, "x.mid", "Seq"},
      {"open x.mid type sequencer alias s notify", 0, Verb::kOpen, "x.mid", "s", true},
      {"play myseq notify", 0, Verb::kPlay, "", "myseq", true},
      {"play myseq", 0, Verb::kPlay, "", "myseq"},
      {"close myseq", 0, Verb::kClose, "", "myseq"},
      {"   ", MCIERR_MISSING_COMMAND_STRING},    {"stop myseq", MCIERR_UNRECOGNIZED_COMMAND},
      {"playmyseq", MCIERR_UNRECOGNIZED_COMMAND}, {"open", MCIERR_FILENAME_REQUIRED},
      {"open x.wav type waveaudio alias w", MCIERR_INVALID_DEVICE_NAME},
      {"open x.mid alias s", MCIERR_DEVICE_TYPE_REQUIRED},
      {"open x.mid type ", MCIERR_DEVICE_TYPE_REQUIRED},
      {"open type sequencer alias s", MCIERR_FILENAME_REQUIRED},
      {"open x.mid type sequencer", MCIERR_NEW_REQUIRES_ALIAS},
      {"open x.mid type sequencer alias", MCIERR_MISSING_STRING_ARGUMENT},
      {"open x.mid type sequencer alias s shareable", MCIERR_UNRECOGNIZED_KEYWORD},
      {"play", MCIERR_MISSING_DEVICE_NAME},       {"close ", MCIERR_MISSING_DEVICE_NAME},
      {"play myseq from 0", MCIERR_UNRECOGNIZED_KEYWORD},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    MciCommand command;
    ASSERT_EQ(parse_mci_command(c.text, command), c.error);
    if (c.error != 0) continue;
    EXPECT_EQ(command.verb, c.verb);
    EXPECT_EQ(command.path, c.path);
    EXPECT_EQ(command.alias, c.alias);
    EXPECT_EQ(command.notify, c.notify);
  }
  EXPECT_TRUE(same_alias("MySeq", "myseq"));
  EXPECT_FALSE(same_alias("myseq", "myseq2"));
}

TEST(MciErrorText, EveryCodeTheSequencerAnswersHasItsOwnText) {
  std::set<std::string> seen;
  char text[260];
  for (const McError code :
       {0u, MCIERR_UNRECOGNIZED_KEYWORD, MCIERR_UNRECOGNIZED_COMMAND, MCIERR_INVALID_DEVICE_NAME,
        MCIERR_MISSING_COMMAND_STRING, MCIERR_MISSING_STRING_ARGUMENT, MCIERR_FILE_NOT_FOUND,
        MCIERR_DEVICE_NOT_READY, MCIERR_DEVICE_TYPE_REQUIRED, MCIERR_DUPLICATE_ALIAS,
        MCIERR_MISSING_DEVICE_NAME, MCIERR_INVALID_FILE, MCIERR_NEW_REQUIRES_ALIAS,
        MCIERR_FILENAME_REQUIRED, MCIERR_DEVICE_NOT_INSTALLED, MCIERR_SEQ_PORT_INUSE}) {
    ASSERT_EQ(mci_error_text(code, text, sizeof text), kTrue) << code;
    EXPECT_GT(std::strlen(text), 10u) << code;
    EXPECT_TRUE(seen.insert(text).second) << "shared text: " << text;
  }
  // The numbers that callers compare against.
  EXPECT_EQ(MCIERR_FILE_NOT_FOUND, 275u);
  EXPECT_EQ(MCIERR_DUPLICATE_ALIAS, 289u);
  EXPECT_EQ(MCIERR_INVALID_DEVICE_NAME, 263u);
  EXPECT_EQ(MCIERR_UNRECOGNIZED_COMMAND, 261u);
  // An unknown code is named but not known.
  EXPECT_EQ(mci_error_text(9999, text, sizeof text), kFalse);
  EXPECT_NE(std::string(text).find("9999"), std::string::npos);
}

TEST(MciErrorText, IsCutToTheBuffer) {
  char full[260], small[8] = "xxxxxxx";
  mci_error_text(MCIERR_FILE_NOT_FOUND, full, sizeof full);
  EXPECT_EQ(mci_error_text(MCIERR_FILE_NOT_FOUND, small, 5), kTrue);
  EXPECT_EQ(std::string(small), std::string(full, 4));
  EXPECT_EQ(small[5], 'x');  // nothing written past the length given
  EXPECT_EQ(mci_error_text(MCIERR_FILE_NOT_FOUND, small, 1), kTrue);
  EXPECT_EQ(small[0], '\0');
  EXPECT_EQ(mci_error_text(MCIERR_FILE_NOT_FOUND, small, 0), kFalse);
  EXPECT_EQ(mci_error_text(MCIERR_FILE_NOT_FOUND, nullptr, 260), kFalse);
}

}  // namespace
}  // namespace mowa::pf
