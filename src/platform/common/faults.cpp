#include "platform/common/faults.h"

#include <charconv>

namespace mowa::pf {

bool Faults::add(std::string_view rule) {
  const auto at = rule.find('@');
  const std::string_view name = rule.substr(0, at);
  if (name.empty()) return false;
  if (at == std::string_view::npos) {
    fail_always(name);
    return true;
  }
  const std::string_view count = rule.substr(at + 1);
  std::uint64_t nth = 0;
  const auto [end, ec] =
      std::from_chars(count.data(), count.data() + count.size(), nth);
  if (ec != std::errc() || end != count.data() + count.size() || nth == 0)
    return false;
  fail_on_call(name, nth);
  return true;
}

void Faults::fail_always(std::string_view service) {
  rules_[std::string(service)].always = true;
}

void Faults::fail_on_call(std::string_view service, std::uint64_t nth) {
  rules_[std::string(service)].nth = nth;
}

void Faults::clear(std::string_view service) {
  const auto it = rules_.find(service);
  if (it == rules_.end()) return;
  it->second.always = false;
  it->second.nth = 0;
}

bool Faults::fail(std::string_view service) {
  auto it = rules_.find(service);
  if (it == rules_.end())
    it = rules_.emplace(std::string(service), Rule{}).first;
  Rule& r = it->second;
  ++r.calls;
  return r.always || r.calls == r.nth;
}

std::uint64_t Faults::calls(std::string_view service) const {
  const auto it = rules_.find(service);
  return it == rules_.end() ? 0 : it->second.calls;
}

std::map<std::string, std::uint64_t> Faults::all_calls() const {
  std::map<std::string, std::uint64_t> counts;
  for (const auto& [service, rule] : rules_)
    if (rule.calls > 0) counts[service] = rule.calls;
  return counts;
}

}  // namespace mowa::pf
