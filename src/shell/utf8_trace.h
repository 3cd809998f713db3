// The --trace output of both runners: the trace lines converted to UTF-8 on
// their way to a stream (standard error), so that standard output keeps only
// the program's own trace lines.
#pragma once

#include <cstdio>

#include "base/cp932.h"
#include "engine/script.h"

namespace mowa::shell {

class Utf8Trace final : public engine::TraceSink {
 public:
  explicit Utf8Trace(std::FILE* out) : out_(out) {}
  void line(const std::string& cp932) override {
    std::fputs(base::cp932_to_utf8(cp932).c_str(), out_);
    std::fflush(out_);
  }

 private:
  std::FILE* out_;
};

}  // namespace mowa::shell
