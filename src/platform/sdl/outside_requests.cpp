#include "platform/sdl/outside_requests.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <thread>

namespace mowa::pf {
namespace {

// A signal handler can reach nothing but objects of static storage: these
// are written only by it and read by the main thread between calls.
volatile std::sig_atomic_t g_signals_came = 0;
volatile std::sig_atomic_t g_last_signal = 0;
// The handler's one way to wake a program that sleeps until input: a byte
// down this pipe, which a thread of ours turns into an event for SDL's queue
// (pushing an event is not safe inside a handler, writing a byte is).
int g_wake_pipe[2] = {-1, -1};

struct sigaction g_previous_int {};
struct sigaction g_previous_term {};

extern "C" void note_signal(int signal_number) {
  g_last_signal = signal_number;
  g_signals_came = g_signals_came + 1;
  if (g_wake_pipe[1] >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(g_wake_pipe[1], &byte, 1);
  }
}

void wake_on_signals() {
  char byte = 0;
  while (read(g_wake_pipe[0], &byte, 1) == 1) {
    SDL_Event wake{};
    wake.type = SDL_USEREVENT;
    SDL_PushEvent(&wake);
  }
}

}  // namespace

OutsideRequests::OutsideRequests() {
  if (pipe2(g_wake_pipe, O_CLOEXEC) == 0) {
    waker_ = std::thread(wake_on_signals);
  } else {
    g_wake_pipe[0] = g_wake_pipe[1] = -1;
  }
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
  if (waker_.joinable()) {
    // The thread reads the end of the pipe and leaves.
    close(g_wake_pipe[1]);
    g_wake_pipe[1] = -1;
    waker_.join();
    close(g_wake_pipe[0]);
    g_wake_pipe[0] = -1;
  }
}

int OutsideRequests::came() const { return g_signals_came; }

int OutsideRequests::pending() const { return g_signals_came - taken_; }

void OutsideRequests::take() { taken_ = g_signals_came; }

int OutsideRequests::last_signal() const { return g_last_signal; }

}  // namespace mowa::pf
