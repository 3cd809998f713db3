// WAV and MCI services.
#pragma once

#include "platform/types.h"

namespace mowa::pf {

class SoundService {
 public:
  virtual ~SoundService() = default;
  // Asynchronous; a new request replaces the sound in progress; a null sound
  // stops it.
  virtual Bool PlaySoundA(const char* sound, void* module, Dword flags) = 0;
  // Returns 0 on success, else an MCI error code. "notify" posts
  // MM_MCINOTIFY to `callback` when the command's action ends.
  virtual McError mciSendStringA(const char* command, char* return_string,
                                 Uint return_length, Hwnd callback) = 0;
  virtual Bool mciGetErrorStringA(McError error, char* text, Uint length) = 0;
};

}  // namespace mowa::pf
