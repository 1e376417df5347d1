#include "platform/interrupt.h"

#include <atomic>
#include <csignal>

#ifndef _WIN32
#include <signal.h>
#endif

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

namespace {

// Set by a signal handler (on Windows, on the console's own thread) and read
// by the threads of a run: a lock-free atomic serves both.
std::atomic<int> received{0};
static_assert(std::atomic<int>::is_always_lock_free);

#ifdef _WIN32
BOOL WINAPI OnConsoleEvent(DWORD event) {
  received = event == CTRL_C_EVENT ? SIGINT : SIGTERM;
  return TRUE;
}
#else
extern "C" void OnSignal(int signal) {
  received = signal;
}
#endif

}  // namespace

void CatchInterrupts() {
#ifdef _WIN32
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
#else
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
#endif
}

int InterruptSignal() {
  return received;
}

void ClearInterrupt() {
  received = 0;
}

void RaiseInterrupt(int signal) {
  received = signal;
}

}  // namespace platform
