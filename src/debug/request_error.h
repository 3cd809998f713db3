// A request the session cannot carry out: answered with success false and
// this message, and the session goes on.
#pragma once

#include <stdexcept>

namespace mowa::debug {

class RequestError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace mowa::debug
