// What the in-process targets check beyond the sanitizers: a property that
// fails stops the run, with its words, as a crash would.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace mowa::fuzz {

inline void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "mowa fuzz: %s\n", what);
  std::abort();
}

}  // namespace mowa::fuzz
