#include "media/process.h"

#include <SDL.h>

#include <csignal>

namespace {

volatile std::sig_atomic_t stopSignal = 0;

void OnStopSignal(int signal) {
  if (stopSignal) {
    // The second one: the default action ends the process as soon as this handler returns.
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signal, &fallback, nullptr);
    raise(signal);
    return;
  }
  stopSignal = 1;
}

}  // namespace

void CatchStopSignals() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  struct sigaction action = {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool StopSignalled() { return stopSignal != 0; }
