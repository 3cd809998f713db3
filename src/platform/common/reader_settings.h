// What the reader chose with the player's own keys (volume, mute, scaling),
// kept per user in a small text file for the next start. The scenario never
// sees any of it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace mowa::pf {

struct ReaderSettings {
  static constexpr int kVolumeStep_percent = 10;

  int volume_percent = 100;
  bool muted = false;
  // Scaling by the largest whole multiple of the picture that fits, centred
  // on black, instead of filling the screen.
  bool whole_multiples = false;

  // The volume the sound output plays at, 0..128 as the mixer counts.
  int mixer_volume() const;
  void louder();
  void quieter();

  // One "name=value" line each; unknown names and bad values are ignored,
  // so that a file of a later version or a hand-edited one still starts.
  std::string text() const;
  static ReaderSettings parse(std::string_view text);
};

// The folder the settings live in on a Unix desktop: $XDG_CONFIG_HOME/mowa,
// else ~/.config/mowa; empty when neither variable is set.
std::filesystem::path unix_settings_folder();
// The same for pictures: $XDG_PICTURES_DIR/mowa, else ~/Pictures/mowa.
std::filesystem::path unix_pictures_folder();

// Reads FOLDER/settings.ini; the defaults when it is missing or unreadable.
ReaderSettings load_settings(const std::filesystem::path& folder);
// Writes FOLDER/settings.ini, making the folder; false when it cannot. The
// file is written whole under another name first, then renamed over the
// old one, so that a crash never leaves half a file.
bool save_settings(const std::filesystem::path& folder,
                   const ReaderSettings& settings);

}  // namespace mowa::pf
