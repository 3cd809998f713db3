#include <cstring>

#include "platform/common/cp932.h"
#include "platform/headless/headless_services.h"

namespace mowa::pf {

Bool HeadlessSound::PlaySoundA(const char* sound, void* /*module*/,
                               Dword flags) {
  if (faults_.fail("PlaySoundA")) return kFalse;
  auto ev = log_.event("play_sound");
  if (sound) ev.str("file", cp932_to_utf8(sound));
  else ev.null("file");
  ev.num("flags", flags);
  return kTrue;
}

McError HeadlessSound::mciSendStringA(const char* command,
                                      char* /*return_string*/,
                                      Uint /*return_length*/, Hwnd callback) {
  // No MCI device is installed yet.
  constexpr McError kDeviceNotInstalled = 306;
  const McError result = kDeviceNotInstalled;
  log_.event("mci")
      .str("command", cp932_to_utf8(command ? command : ""))
      .boolean("notify", callback != nullptr)
      .num("result", result);
  return result;
}

Bool HeadlessSound::mciGetErrorStringA(McError error, char* text,
                                       Uint length) {
  if (!text || length == 0) return kFalse;
  const char* message = error == 0 ? "The specified command was carried out."
                                    : "The MCI device is not installed.";
  std::strncpy(text, message, length - 1);
  text[length - 1] = '\0';
  return kTrue;
}

}  // namespace mowa::pf
