#include "shell/program.h"

#include "graphics/bmp_loader.h"
#include "graphics/boxes.h"
#include "graphics/composition.h"
#include "graphics/fades.h"
#include "graphics/repaint_request.h"
#include "shell/display_mode.h"
#include "sound/playback.h"
#include "text/free_text.h"
#include "text/message.h"

namespace mowa {

Program::Program(pf::Platform& platform)
    : pf(platform),
      report(platform.box, platform.out, shell.main_window),
      script(platform.files, platform.versions, platform.replacement,
             platform.clock, report),
      gfx(platform.gdi, platform.memory, platform.files, platform.window,
          platform.clock, report, shell.main_window),
      text(platform.gdi, platform.window, platform.clock, report, gfx,
           shell.main_window),
      sound(platform.sound, platform.files, report, shell.main_window) {}

std::int32_t Program::mouse_state() {
  const std::int32_t buttons = shell.mouse.left + 2 * shell.mouse.right;
  shell::note_mouse_read(shell);
  return buttons;
}

void Program::mouse_position(std::int32_t& x, std::int32_t& y) {
  x = shell.mouse.x;
  y = shell.mouse.y;
  shell::note_mouse_read(shell);
}

void Program::boxfill(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                      std::int32_t y2, std::int32_t colour) {
  graphics::boxfill(gfx, x1, y1, x2, y2, colour);
}

void Program::box(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                  std::int32_t y2, std::int32_t colour) {
  graphics::box(gfx, x1, y1, x2, y2, colour);
}

void Program::screen_black_out(std::int32_t delay_ms) {
  graphics::palette_black_out(gfx, delay_ms);
}

void Program::screen_black_in(std::int32_t delay_ms) {
  graphics::palette_black_in(gfx, delay_ms);
}

void Program::gload(const char* file, std::int32_t x, std::int32_t y,
                    std::int32_t mode) {
  switch (mode) {
    case 0:
      graphics::opendib(gfx, file, x, y, 0);
      graphics::palette_show(gfx);
      break;
    case 1:
      graphics::opendib(gfx, file, x, y, 0);
      break;
    case 2:
      graphics::opendib(gfx, file, x, y, 1);
      graphics::palette_show(gfx);
      break;
    default:
      break;
  }
  // The command's own request has never been checked.
  graphics::request_repaint(gfx, nullptr);
}

void Program::character(const char* file, std::int32_t x, std::int32_t y,
                        std::int32_t opaque, std::int32_t fifth) {
  graphics::character(gfx, file, x, y, opaque, fifth);
  graphics::request_repaint(gfx, nullptr);
}

void Program::screen_copy(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                          std::int32_t y2, std::int32_t dx, std::int32_t dy) {
  graphics::screen_copy(gfx, x1, y1, x2, y2, dx, dy);
}

void Program::screen_big_small() { shell::screen_big_small(*this); }

void Program::message(const char* message_text) {
  text::message_in(text, message_text);
}

void Program::message_out() { text::message_out(text); }

void Program::number_write(std::int32_t value, std::int32_t x, std::int32_t y,
                           std::int32_t size, std::int32_t colour,
                           std::int32_t opaque) {
  text::number_write(text, value, x, y, size, colour, opaque);
}

void Program::text_write(const char* shown, std::int32_t x, std::int32_t y,
                         std::int32_t size, std::int32_t colour,
                         std::int32_t opaque) {
  text::text_write(text, shown, x, y, size, colour, opaque);
}

void Program::force_write() { text::force_write(text); }

void Program::play_wav(const char* file, std::int32_t loop) {
  sound::play_wav(sound, file, loop);
}

void Program::stop_wav() { sound::stop_wav(sound); }

void Program::play_midi(const char* path) { sound::play_midi(sound, path); }

void Program::stop_midi() { sound::stop_midi(sound); }

}  // namespace mowa
