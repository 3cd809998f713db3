#include "shell/poll_loop.h"

namespace mowa::shell {

bool PollLoop::came_round(std::int32_t after, const PollVisit& now) {
  const auto [it, first] = visits_.try_emplace(after, now);
  if (first) return false;
  const bool same = it->second == now;
  it->second = now;
  return same;
}

}  // namespace mowa::shell
