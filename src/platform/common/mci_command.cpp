#include "platform/common/mci_command.h"

#include <vector>

#include "platform/common/mci_errors.h"

namespace mowa::pf {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool same_word(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> words(std::string_view s) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && is_blank(s[i])) ++i;
    const std::size_t start = i;
    while (i < s.size() && !is_blank(s[i])) ++i;
    if (i > start) out.push_back(s.substr(start, i - start));
  }
  return out;
}

// Where the last blank-delimited "type" of `s` starts its leading blank, or
// npos. The last one, because a path may itself hold the word.
std::size_t last_type_keyword(std::string_view s) {
  for (std::size_t i = s.size(); i-- > 0;) {
    if (!is_blank(s[i]) || i + 6 > s.size()) continue;
    if (same_word(s.substr(i + 1, 4), "type") && is_blank(s[i + 5])) return i;
  }
  return std::string_view::npos;
}

McError parse_open(std::string_view rest, MciCommand& command) {
  const std::size_t at = last_type_keyword(rest);
  if (at == std::string_view::npos)
    return trim(rest).empty() ? MCIERR_FILENAME_REQUIRED
                              : MCIERR_DEVICE_TYPE_REQUIRED;
  std::string_view path = trim(rest.substr(0, at));
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
    path = path.substr(1, path.size() - 2);
  if (path.empty()) return MCIERR_FILENAME_REQUIRED;
  const auto tail = words(rest.substr(at + 5));
  if (tail.empty()) return MCIERR_MISSING_STRING_ARGUMENT;
  if (!same_word(tail[0], "sequencer")) return MCIERR_INVALID_DEVICE_NAME;
  bool have_alias = false;
  for (std::size_t i = 1; i < tail.size(); ++i) {
    if (same_word(tail[i], "notify")) {
      command.notify = true;
    } else if (same_word(tail[i], "alias")) {
      if (++i == tail.size()) return MCIERR_MISSING_STRING_ARGUMENT;
      command.alias = tail[i];
      have_alias = true;
    } else {
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
  }
  if (!have_alias) return MCIERR_NEW_REQUIRES_ALIAS;
  command.path = path;
  return 0;
}

McError parse_named(std::string_view rest, MciCommand& command) {
  const auto args = words(rest);
  if (args.empty()) return MCIERR_MISSING_DEVICE_NAME;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (!same_word(args[i], "notify")) return MCIERR_UNRECOGNIZED_KEYWORD;
    command.notify = true;
  }
  command.alias = args[0];
  return 0;
}

}  // namespace

bool same_alias(std::string_view a, std::string_view b) {
  return same_word(a, b);
}

McError parse_mci_command(std::string_view text, MciCommand& command) {
  command = MciCommand{};
  text = trim(text);
  if (text.empty()) return MCIERR_MISSING_COMMAND_STRING;
  std::size_t end = 0;
  while (end < text.size() && !is_blank(text[end])) ++end;
  const std::string_view verb = text.substr(0, end);
  const std::string_view rest = text.substr(end);
  if (same_word(verb, "open")) {
    command.verb = MciCommand::Verb::kOpen;
    return parse_open(rest, command);
  }
  if (same_word(verb, "play")) {
    command.verb = MciCommand::Verb::kPlay;
    return parse_named(rest, command);
  }
  if (same_word(verb, "close")) {
    command.verb = MciCommand::Verb::kClose;
    return parse_named(rest, command);
  }
  return MCIERR_UNRECOGNIZED_COMMAND;
}

}  // namespace mowa::pf
