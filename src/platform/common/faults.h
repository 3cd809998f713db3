// Fault injection: makes a named service return its failure value on its Nth
// call, or on every call, so that each error path can be exercised.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace mowa::pf {

class Faults {
 public:
  // `rule` is SERVICE or SERVICE@N (N counts from 1). False when malformed.
  bool add(std::string_view rule);
  void fail_always(std::string_view service);
  void fail_on_call(std::string_view service, std::uint64_t nth);
  // The service works again; its calls are still counted.
  void clear(std::string_view service);
  // Counts one call of `service`; true when this call must fail.
  bool fail(std::string_view service);
  std::uint64_t calls(std::string_view service) const;
  // Every service counted so far, by name, with its calls.
  std::map<std::string, std::uint64_t> all_calls() const;

 private:
  struct Rule {
    bool always = false;
    std::uint64_t nth = 0;  // 0: no single call
    std::uint64_t calls = 0;
  };
  std::map<std::string, Rule, std::less<>> rules_;
};

}  // namespace mowa::pf
