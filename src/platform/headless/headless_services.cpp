#include "platform/headless/headless_services.h"

#include <cstdio>

#include "base/cp932.h"
#include "platform/common/mci_errors.h"

namespace mowa::pf {

int HeadlessBox::MessageBoxA(Hwnd owner, const char* text, const char* caption,
                             Uint /*type*/) {
  window_.present_all();
  if (faults_.fail("MessageBoxA")) return 0;
  const std::string utf8_text = base::cp932_to_utf8(text ? text : "");
  const std::string utf8_caption = base::cp932_to_utf8(caption ? caption : "");
  log_.event("message_box")
      .str("owner", owner ? "main" : "none")
      .str("caption", utf8_caption)
      .str("text", utf8_text);
  std::fprintf(stderr, "mowa-headless: box [%s] %s\n", utf8_caption.c_str(),
               utf8_text.c_str());
  window_.pump_for_box(owner);
  return IDOK;
}

void HeadlessClock::Sleep(Dword delay_ms) {
  window_.present_all();
  log_.event("sleep").num("ms", delay_ms);
  log_.now_ms += delay_ms;
  sound_.advance(log_.now_ms);
}

std::int64_t HeadlessClock::time_seconds() {
  return start_seconds_ + log_.now_ms / 1000;
}

HeadlessDisplay::HeadlessDisplay(Faults& faults, EventLog& log, SoftGdi& gdi)
    : faults_(faults), log_(log), gdi_(gdi), modes_(fixed_display_modes()) {
  gdi_.set_display_format(1024, 768, 32);
}

Bool HeadlessDisplay::EnumDisplaySettingsA(const char* /*device*/,
                                           Dword mode_num, DevModeA* mode) {
  if (faults_.fail("EnumDisplaySettingsA")) return kFalse;
  return fill_dev_mode(modes_, mode_num, mode);
}

Long HeadlessDisplay::ChangeDisplaySettingsA(DevModeA* mode, Dword /*flags*/) {
  if (faults_.fail("ChangeDisplaySettingsA")) return DISP_CHANGE_FAILED;
  if (!mode) return DISP_CHANGE_SUCCESSFUL;
  log_.event("display_change")
      .num("width", mode->dmPelsWidth)
      .num("height", mode->dmPelsHeight)
      .num("bpp", mode->dmBitsPerPel);
  gdi_.set_display_format(static_cast<int>(mode->dmPelsWidth),
                          static_cast<int>(mode->dmPelsHeight),
                          static_cast<int>(mode->dmBitsPerPel));
  return DISP_CHANGE_SUCCESSFUL;
}

Bool HeadlessSound::PlaySoundA(const char* sound, void* /*module*/,
                               Dword flags) {
  if (faults_.fail("PlaySoundA")) return kFalse;
  auto ev = log_.event("play_sound");
  if (sound)
    ev.str("file", base::cp932_to_utf8(sound));
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
      .str("command", base::cp932_to_utf8(command ? command : ""))
      .boolean("notify", callback != nullptr)
      .num("result", result);
  return result;
}

Bool HeadlessSound::mciGetErrorStringA(McError error, char* text, Uint length) {
  return mci_error_text(error, text, length);
}

}  // namespace mowa::pf
