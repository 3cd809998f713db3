#include "platform/common/reader_settings.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

namespace mowa::pf {
namespace {

constexpr const char* kFileName = "settings.ini";

std::filesystem::path from_environment(const char* variable,
                                       const char* fallback_under_home) {
  const char* value = std::getenv(variable);
  if (value && *value) return std::filesystem::path(value) / "mowa";
  const char* home = std::getenv("HOME");
  if (home && *home)
    return std::filesystem::path(home) / fallback_under_home / "mowa";
  return {};
}

bool parse_int(std::string_view text, int& out) {
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

int ReaderSettings::mixer_volume() const {
  return muted ? 0 : (std::clamp(volume_percent, 0, 100) * 128 + 50) / 100;
}

void ReaderSettings::louder() {
  volume_percent = std::min(volume_percent + kVolumeStep_percent, 100);
  muted = false;
}

void ReaderSettings::quieter() {
  volume_percent = std::max(volume_percent - kVolumeStep_percent, 0);
}

std::string ReaderSettings::text() const {
  std::ostringstream out;
  out << "volume=" << volume_percent << "\nmuted=" << (muted ? 1 : 0)
      << "\nscaling=" << (whole_multiples ? "whole" : "fit") << "\n";
  return out.str();
}

ReaderSettings ReaderSettings::parse(std::string_view text) {
  ReaderSettings s;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view name = line.substr(0, equals);
    const std::string_view value = line.substr(equals + 1);
    int number = 0;
    if (name == "volume" && parse_int(value, number))
      s.volume_percent = std::clamp(number, 0, 100);
    else if (name == "muted" && (value == "0" || value == "1"))
      s.muted = value == "1";
    else if (name == "scaling" && (value == "fit" || value == "whole"))
      s.whole_multiples = value == "whole";
  }
  return s;
}

std::filesystem::path unix_settings_folder() {
  return from_environment("XDG_CONFIG_HOME", ".config");
}

std::filesystem::path unix_pictures_folder() {
  return from_environment("XDG_PICTURES_DIR", "Pictures");
}

ReaderSettings load_settings(const std::filesystem::path& folder) {
  if (folder.empty()) return {};
  std::ifstream in(folder / kFileName, std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return ReaderSettings::parse(text.str());
}

bool save_settings(const std::filesystem::path& folder,
                   const ReaderSettings& settings) {
  if (folder.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  const std::filesystem::path fresh = folder / "settings.ini.new";
  {
    std::ofstream out(fresh, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << settings.text();
    if (!out.flush()) return false;
  }
  std::filesystem::rename(fresh, folder / kFileName, ec);
  return !ec;
}

}  // namespace mowa::pf
