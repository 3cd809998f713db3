#include "platform/sdl/outside_requests.h"

#include <csignal>

namespace mowa::pf {
namespace {

// A signal handler can reach nothing but objects of static storage: these
// are written only by it and read by the main thread between calls.
volatile std::sig_atomic_t g_signals_came = 0;
volatile std::sig_atomic_t g_last_signal = 0;

struct sigaction g_previous_int {};
struct sigaction g_previous_term {};

extern "C" void note_signal(int signal_number) {
  g_last_signal = signal_number;
  g_signals_came = g_signals_came + 1;
}

}  // namespace

OutsideRequests::OutsideRequests() {
  struct sigaction action {};
  action.sa_handler = note_signal;
  sigemptyset(&action.sa_mask);
  // Interrupted waits carry on; the loops look at the count often enough.
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, &g_previous_int);
  sigaction(SIGTERM, &action, &g_previous_term);
}

OutsideRequests::~OutsideRequests() {
  sigaction(SIGINT, &g_previous_int, nullptr);
  sigaction(SIGTERM, &g_previous_term, nullptr);
}

int OutsideRequests::came() const { return g_signals_came; }

int OutsideRequests::pending() const { return g_signals_came - taken_; }

void OutsideRequests::take() { taken_ = g_signals_came; }

int OutsideRequests::last_signal() const { return g_last_signal; }

}  // namespace mowa::pf
