#include "platform/common/mci_errors.h"

#include <cstdio>
#include <cstring>

#include "base/cp932.h"

namespace mowa::pf {
namespace {

struct ErrorText {
  McError code;
  const char* text;
};

constexpr ErrorText kTexts[] = {
    {0, "The command was carried out."},
    {MCIERR_UNRECOGNIZED_KEYWORD,
     "The command holds a word that the device does not understand."},
    {MCIERR_UNRECOGNIZED_COMMAND,
     "The command is not known. The sequencer understands open, play and "
     "close."},
    {MCIERR_INVALID_DEVICE_NAME,
     "No device is open under that name, or the device type is not known."},
    {MCIERR_MISSING_COMMAND_STRING, "No command was given."},
    {MCIERR_MISSING_STRING_ARGUMENT, "A keyword lacks its value."},
    {MCIERR_FILE_NOT_FOUND,
     "The file cannot be found. Check that the path and the file name are "
     "right."},
    {MCIERR_DEVICE_NOT_READY, "The device is not ready. Try again later."},
    {MCIERR_DEVICE_TYPE_REQUIRED, "The device type must be given."},
    {MCIERR_DUPLICATE_ALIAS,
     "The alias is already in use by this program. Close that device first "
     "or choose another alias."},
    {MCIERR_MISSING_DEVICE_NAME, "No device name or alias was given."},
    {MCIERR_INVALID_FILE,
     "The file is damaged or is not a MIDI sequence that can be played."},
    {MCIERR_NEW_REQUIRES_ALIAS, "The device must be opened under an alias."},
    {MCIERR_FILENAME_REQUIRED, "A file name must be given."},
    {MCIERR_DEVICE_NOT_INSTALLED, "The device is not installed."},
    {MCIERR_SEQ_PORT_INUSE,
     "The MIDI output is in use by another sequence. Wait until it ends or "
     "close it."},
};

// Copies as much of `from` as fits before the terminator, ending on a whole
// code-page-932 character.
void copy_cut(const char* from, char* to, Uint length) {
  const std::size_t room = length - 1;
  std::size_t n = 0;
  const std::size_t size = std::strlen(from);
  while (n < size) {
    const bool lead = base::cp932_is_lead(static_cast<unsigned char>(from[n]));
    const std::size_t step = lead && n + 1 < size ? 2 : 1;
    if (n + step > room) break;
    n += step;
  }
  std::memcpy(to, from, n);
  to[n] = '\0';
}

}  // namespace

Bool mci_error_text(McError error, char* text, Uint length) {
  if (!text || length == 0) return kFalse;
  for (const ErrorText& e : kTexts) {
    if (e.code == error) {
      copy_cut(e.text, text, length);
      return kTrue;
    }
  }
  char unknown[64];
  std::snprintf(unknown, sizeof unknown, "Unknown MCI error %u.",
                static_cast<unsigned>(error));
  copy_cut(unknown, text, length);
  return kFalse;
}

}  // namespace mowa::pf
