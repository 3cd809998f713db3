// MCI error codes, with the numbers that callers of mciSendStringA know, and
// their texts for mciGetErrorStringA.
#pragma once

#include "platform/types.h"

namespace mowa::pf {

inline constexpr McError MCIERR_BASE = 256;
inline constexpr McError MCIERR_UNRECOGNIZED_KEYWORD = MCIERR_BASE + 3;
inline constexpr McError MCIERR_UNRECOGNIZED_COMMAND = MCIERR_BASE + 5;
inline constexpr McError MCIERR_INVALID_DEVICE_NAME = MCIERR_BASE + 7;
inline constexpr McError MCIERR_MISSING_COMMAND_STRING = MCIERR_BASE + 11;
inline constexpr McError MCIERR_MISSING_STRING_ARGUMENT = MCIERR_BASE + 13;
inline constexpr McError MCIERR_FILE_NOT_FOUND = MCIERR_BASE + 19;
inline constexpr McError MCIERR_DEVICE_NOT_READY = MCIERR_BASE + 20;
inline constexpr McError MCIERR_DEVICE_TYPE_REQUIRED = MCIERR_BASE + 31;
inline constexpr McError MCIERR_DUPLICATE_ALIAS = MCIERR_BASE + 33;
inline constexpr McError MCIERR_MISSING_DEVICE_NAME = MCIERR_BASE + 36;
inline constexpr McError MCIERR_INVALID_FILE = MCIERR_BASE + 40;
inline constexpr McError MCIERR_NEW_REQUIRES_ALIAS = MCIERR_BASE + 43;
inline constexpr McError MCIERR_FILENAME_REQUIRED = MCIERR_BASE + 48;
inline constexpr McError MCIERR_DEVICE_NOT_INSTALLED = MCIERR_BASE + 50;
inline constexpr McError MCIERR_SEQ_PORT_INUSE = MCIERR_BASE + 81;

// Writes the text of `error` into `text` (code page 932, cut to `length`
// bytes with its terminator, never in the middle of a character). True for
// a known code; an unknown one still gets a text naming its number. False
// without writing when there is no buffer.
Bool mci_error_text(McError error, char* text, Uint length);

}  // namespace mowa::pf
