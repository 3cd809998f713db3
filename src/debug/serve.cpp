#include "debug/serve.h"

#include <csignal>
#include <cstdio>

#include "debug/channel.h"

namespace mowa::debug {

int serve(Program& program, shell::RunHooks* runner) {
  // An editor that goes away closes both pipes: the program then ends as
  // on a closed input rather than being killed in the middle of a write.
  std::signal(SIGPIPE, SIG_IGN);
  Channel channel(0, stdout);
  Session session(program, channel);
  return session.run(runner);
}

}  // namespace mowa::debug
