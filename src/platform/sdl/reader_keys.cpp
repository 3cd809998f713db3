// The reader's own keys in the real window: fast-forward, volume, scaling,
// screenshots and the list of keys. None of them reaches the scenario, and
// what they show is drawn over the shown frame, never into the picture.
#include <SDL.h>

#include <ctime>
#include <system_error>

#include "base/cp932.h"
#include "platform/sdl/sdl_sound.h"
#include "platform/sdl/sdl_window.h"
#include "platform/softgdi/font_raster.h"
#include "platform/softgdi/png_io.h"

namespace mowa::pf {
namespace {

// How long a level or a message stays over the picture.
constexpr Uint32 kNoteShown_ms = 2000;
constexpr int kNoteFontHeight_px = 14;
constexpr int kNoteMargin_px = 6;

const char* const kKeyList[] = {
    "Esc        leave",
    "Alt+Enter  full screen / window",
    "Ctrl       fast-forward while held",
    "Tab        fast-forward on / off",
    "M          mute / sound on",
    "-  +       volume down / up",
    "F10        fit the screen / whole multiples",
    "F12        screenshot",
    "F1         this list",
};

std::string local_time_stamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

}  // namespace

void SdlWindow::load_reader_settings() {
  settings_folder_ = unix_settings_folder();
  settings_ = load_settings(settings_folder_);
}

void SdlWindow::apply_reader_settings() {
  if (sound_) sound_->set_volume(settings_.mixer_volume());
  for (auto& v : views_)
    if (v) v->set_whole_multiples(settings_.whole_multiples);
}

void SdlWindow::keep_reader_settings() {
  apply_reader_settings();
  if (!save_settings(settings_folder_, settings_))
    std::fprintf(stderr, "mowa: cannot keep the settings in %s\n",
                 settings_folder_.string().c_str());
}

bool SdlWindow::reader_key(SDL_Keycode key, bool repeat) {
  // The list of keys stays until the next key or click.
  const bool help_was_shown = help_shown_;
  if (help_shown_) show_note({}, false);
  switch (key) {
    case SDLK_TAB:
      if (!repeat) toggle_fast_forward();
      return true;
    case SDLK_m:
      if (repeat) return true;
      settings_.muted = !settings_.muted;
      keep_reader_settings();
      show_volume();
      return true;
    case SDLK_MINUS:
    case SDLK_KP_MINUS:
      settings_.quieter();
      keep_reader_settings();
      show_volume();
      return true;
    case SDLK_PLUS:
    case SDLK_EQUALS:
    case SDLK_KP_PLUS:
      settings_.louder();
      keep_reader_settings();
      show_volume();
      return true;
    case SDLK_F10:
      if (repeat) return true;
      settings_.whole_multiples = !settings_.whole_multiples;
      keep_reader_settings();
      show_note({settings_.whole_multiples ? "Scaling: whole multiples"
                                           : "Scaling: fit the screen"},
                false);
      return true;
    case SDLK_F12:
      if (!repeat) take_screenshot();
      return true;
    case SDLK_F1:
      if (!repeat && !help_was_shown) {
        std::vector<std::string> lines(std::begin(kKeyList),
                                       std::end(kKeyList));
        show_note(lines, true);
        help_shown_ = true;
      }
      return true;
    default:
      return false;
  }
}

void SdlWindow::reader_clicked() {
  if (help_shown_) show_note({}, false);
}

void SdlWindow::show_volume() {
  std::string bar = "Volume ";
  if (settings_.muted) {
    bar += "muted";
  } else {
    for (int level = ReaderSettings::kVolumeStep_percent; level <= 100;
         level += ReaderSettings::kVolumeStep_percent)
      bar += level <= settings_.volume_percent ? '#' : '.';
    bar += " " + std::to_string(settings_.volume_percent) + "%";
  }
  show_note({bar}, false);
}

void SdlWindow::take_screenshot() {
  const Surface* picture = surface(main_window());
  const std::filesystem::path folder = unix_pictures_folder();
  std::error_code ec;
  std::string story = std::filesystem::current_path(ec).filename().string();
  if (story.empty()) story = "mowa";
  const std::string stamp = local_time_stamp();
  std::filesystem::path file = folder / (story + "-" + stamp + ".png");
  for (int n = 2; std::filesystem::exists(file, ec); ++n)
    file = folder / (story + "-" + stamp + "-" + std::to_string(n) + ".png");
  std::string failure;
  if (!picture || picture->width() <= 0 || picture->height() <= 0)
    failure = "no picture yet";
  else if (folder.empty())
    failure = "no Pictures folder (HOME is not set)";
  else if (std::filesystem::create_directories(folder, ec), ec)
    failure = "cannot make " + folder.string() + ": " + ec.message();
  else if (!write_png(file.string(), *picture))
    failure = "cannot write " + file.string();
  if (failure.empty()) {
    std::fprintf(stderr, "mowa: screenshot %s\n", file.string().c_str());
    show_note({"Screenshot saved:", file.string()}, false);
  } else {
    std::fprintf(stderr, "mowa: screenshot failed: %s\n", failure.c_str());
    show_note({"Screenshot failed:", failure}, false);
  }
}

void SdlWindow::show_note(const std::vector<std::string>& lines_utf8,
                          bool lasting) {
  help_shown_ = false;
  note_until_ms_ = 0;
  SdlView* main = view(main_window());
  if (lines_utf8.empty()) {
    if (main) main->set_note(nullptr);
    return;
  }
  if (!note_font_tried_) {
    note_font_tried_ = true;
    note_fonts_ = std::make_unique<FontLibrary>();
    LogFontA lf{};
    lf.lfHeight = -kNoteFontHeight_px;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    note_font_ = note_fonts_->create(lf);
  }
  if (!main) return;
  std::vector<std::string> lines;
  int width = 0;
  const int cell = note_font_ ? note_font_->cell_height() : kNoteFontHeight_px;
  for (const std::string& line : lines_utf8) {
    lines.push_back(base::utf8_to_cp932(line));
    if (note_font_) {
      Surface nowhere;
      width = std::max(
          width, note_font_->draw(nowhere, 0, 0, lines.back(), 0, false, 0));
    }
  }
  Surface note(width + 2 * kNoteMargin_px,
               cell * static_cast<int>(lines.size()) + 2 * kNoteMargin_px);
  std::fill(note.pixels.begin(), note.pixels.end(), 0x202020u);
  for (std::size_t i = 0; i < lines.size() && note_font_; ++i)
    note_font_->draw(note, kNoteMargin_px,
                     kNoteMargin_px + cell * static_cast<int>(i), lines[i],
                     0xFFFFFFu, false, 0);
  main->set_note(&note);
  if (!lasting) note_until_ms_ = SDL_GetTicks() + kNoteShown_ms;
}

void SdlWindow::expire_note() {
  if (note_until_ms_ != 0 &&
      static_cast<Sint32>(SDL_GetTicks() - note_until_ms_) >= 0)
    show_note({}, false);
}

int SdlWindow::ms_until_note_expires() const {
  if (note_until_ms_ == 0) return -1;
  const auto left = static_cast<Sint32>(note_until_ms_ - SDL_GetTicks());
  return std::max<Sint32>(left, 0);
}

}  // namespace mowa::pf
