#include "platform/web/web_services.h"

#include <cstdio>
#include <ctime>
#include <string>

#include "base/cp932.h"
#include "platform/softgdi/box_picture.h"
#include "platform/web/web_page.h"

namespace mowa::pf {
namespace {

// While a box is open and a sequence plays, its end is looked for this often.
constexpr int kBoxSoundPoll_ms = 50;
constexpr int kCanvasWidth = 640;
constexpr int kCanvasHeight = 480;
constexpr std::int32_t kEnter = 0x0D, kEscape = 0x1B, kSpace = 0x20;

}  // namespace

std::int64_t WebClock::time_seconds() {
  return static_cast<std::int64_t>(std::time(nullptr));
}

int WebBox::MessageBoxA(Hwnd owner, const char* text_in, const char* caption_in,
                        Uint /*type*/) {
  window_.present_all();
  if (faults_.fail("MessageBoxA")) return 0;
  const std::string_view text = text_in ? text_in : "";
  const std::string_view caption = caption_in ? caption_in : "";
  std::string text_utf8 = base::cp932_to_utf8(text);
  while (!text_utf8.empty() &&
         (text_utf8.back() == '\n' || text_utf8.back() == '\r'))
    text_utf8.pop_back();
  std::printf("mowa: [%s] %s\n", base::cp932_to_utf8(caption).c_str(),
              text_utf8.c_str());
  std::fflush(stdout);

  Surface picture;
  BoxLayout layout = draw_box(picture, font_.get(), caption, text, false);
  const int left = (kCanvasWidth - layout.width) / 2;
  const int top = (kCanvasHeight - layout.height) / 2;
  window_.set_overlay(&picture, left, top);
  window_.show_main();
  picture.changed = false;

  bool pressed = false;  // the left button went down on OK
  bool open = true;
  while (open) {
    window_.pump_sound();
    window_.pump_for_box(owner);
    window_.present_all();
    if (picture.changed) {
      picture.changed = false;
      window_.show_main();
    }
    if (!page::has_input()) {
      page::wait_for_input(kBoxSoundPoll_ms);
      continue;
    }
    // The owner takes no input while the box is open.
    const page::Input in = page::next_input();
    const int x = in.x - left, y = in.y - top;
    if (in.kind == page::Input::kKey) {
      if (in.code == kEnter || in.code == kEscape || in.code == kSpace)
        open = false;
    } else if (in.kind == page::Input::kDown && in.code == 0) {
      if (contains(layout.button, x, y)) {
        pressed = true;
        layout = draw_box(picture, font_.get(), caption, text, true);
      }
    } else if (in.kind == page::Input::kUp && in.code == 0 && pressed) {
      pressed = false;
      if (contains(layout.button, x, y))
        open = false;
      else
        layout = draw_box(picture, font_.get(), caption, text, false);
    }
  }
  window_.set_overlay(nullptr, 0, 0);
  window_.show_main();
  return IDOK;
}

WebDisplay::WebDisplay(Faults& faults, SoftGdi& gdi)
    : faults_(faults), gdi_(gdi), modes_(fixed_display_modes()) {
  gdi_.set_display_format(1024, 768, 32);
}

Bool WebDisplay::EnumDisplaySettingsA(const char* /*device*/, Dword mode_num,
                                      DevModeA* mode) {
  if (faults_.fail("EnumDisplaySettingsA")) return kFalse;
  return fill_dev_mode(modes_, mode_num, mode);
}

Long WebDisplay::ChangeDisplaySettingsA(DevModeA* mode, Dword /*flags*/) {
  if (faults_.fail("ChangeDisplaySettingsA")) return DISP_CHANGE_FAILED;
  if (!mode) {
    gdi_.set_display_format(1024, 768, 32);
    return DISP_CHANGE_SUCCESSFUL;
  }
  gdi_.set_display_format(static_cast<int>(mode->dmPelsWidth),
                          static_cast<int>(mode->dmPelsHeight),
                          static_cast<int>(mode->dmBitsPerPel));
  return DISP_CHANGE_SUCCESSFUL;
}

}  // namespace mowa::pf
