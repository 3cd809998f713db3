#include "platform/common/host_path.h"

#include <dirent.h>
#include <sys/stat.h>

#include <vector>

#include "base/cp932.h"

namespace mowa::pf {
namespace {

std::vector<std::string_view> split_components(std::string_view path,
                                               bool& absolute) {
  std::vector<std::string_view> parts;
  absolute = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i < path.size()) {
      const auto c = static_cast<unsigned char>(path[i]);
      if (base::cp932_is_lead(c)) {
        ++i;  // the second byte is never a separator
        continue;
      }
      if (c != '\\' && c != '/') continue;
    }
    if (i == 0 && path.size() > 0) absolute = true;
    if (i > start) parts.push_back(path.substr(start, i - start));
    start = i + 1;
  }
  if (!parts.empty() && parts[0].size() == 2 && parts[0][1] == ':') {
    parts.erase(parts.begin());
    absolute = true;
  }
  return parts;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

bool exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// The entry of `dir` whose name matches `name` ignoring case, or `name`.
std::string find_entry(const std::string& dir, const std::string& name) {
  const std::string exact = dir + name;
  if (exists(exact)) return name;
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return name;
  std::string found = name;
  while (const dirent* e = ::readdir(d)) {
    if (equal_ignoring_case(e->d_name, name)) {
      found = e->d_name;
      break;
    }
  }
  ::closedir(d);
  return found;
}

}  // namespace

std::string host_path(std::string_view cp932_path) {
  bool absolute = false;
  const auto parts = split_components(cp932_path, absolute);
  std::string out = absolute ? "/" : "";
  // `out` always ends with a separator or is empty (the current directory).
  std::vector<std::size_t> starts;
  for (const auto part : parts) {
    if (part == ".") continue;
    if (part == "..") {
      if (!starts.empty()) {
        out.resize(starts.back());
        starts.pop_back();
      } else if (!absolute) {
        out += "../";
      }
      continue;
    }
    starts.push_back(out.size());
    out += find_entry(out, base::cp932_to_utf8(part));
    out += '/';
  }
  if (out.size() > 1 && out.back() == '/') out.pop_back();
  return out.empty() ? std::string(".") : out;
}

std::string direct_host_path(std::string_view cp932_path) {
  bool absolute = false;
  const auto parts = split_components(cp932_path, absolute);
  std::string out = absolute ? "/" : "";
  for (const auto part : parts) {
    if (part == ".") continue;
    out += base::cp932_to_utf8(part);
    out += '/';
  }
  if (out.size() > 1 && out.back() == '/') out.pop_back();
  return out.empty() ? std::string(".") : out;
}

}  // namespace mowa::pf
