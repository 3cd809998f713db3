// The SDL video subsystem for the lifetime of the platform, with the hints
// every window of the program relies on.
#pragma once

#include <string>

namespace mowa::pf {

class SdlSession {
 public:
  SdlSession();
  ~SdlSession();
  SdlSession(const SdlSession&) = delete;
  SdlSession& operator=(const SdlSession&) = delete;

  bool ok() const { return ok_; }
  // Why the video subsystem could not start; empty when it did.
  const std::string& error() const { return error_; }

 private:
  bool ok_ = false;
  std::string error_;
};

}  // namespace mowa::pf
