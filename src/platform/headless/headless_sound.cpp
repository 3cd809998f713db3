#include "platform/common/cp932.h"
#include "platform/common/mci_errors.h"
#include "platform/headless/headless_services.h"

namespace mowa::pf {

Bool HeadlessSound::PlaySoundA(const char* sound, void* /*module*/,
                               Dword flags) {
  if (faults_.fail("PlaySoundA")) return kFalse;
  auto ev = log_.event("play_sound");
  if (sound)
    ev.str("file", cp932_to_utf8(sound));
  else
    ev.null("file");
  ev.num("flags", flags);
  return kTrue;
}

McError HeadlessSound::mciSendStringA(const char* command, char* return_string,
                                      Uint return_length, Hwnd callback) {
  if (return_string && return_length > 0) return_string[0] = '\0';
  const McError result = faults_.fail("mciSendStringA")
                             ? MCIERR_DEVICE_NOT_READY
                             : sequencer_.send(command, callback, log_.now_ms);
  log_.event("mci")
      .str("command", cp932_to_utf8(command ? command : ""))
      .boolean("notify", callback != nullptr)
      .num("result", result);
  return result;
}

Bool HeadlessSound::mciGetErrorStringA(McError error, char* text, Uint length) {
  return mci_error_text(error, text, length);
}

}  // namespace mowa::pf
