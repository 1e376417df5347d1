#include "platform/interrupt.h"

#include <csignal>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#endif

namespace platform {

namespace {

// Where the handler (on Windows, on the console's own thread) stores a
// request: the cause of the stop token of the run that catches them.
std::atomic<std::atomic<int>*> target{nullptr};
static_assert(std::atomic<std::atomic<int>*>::is_always_lock_free);

void Store(int signal) {
  if (std::atomic<int>* cause = target.load()) {
    int none = 0;
    cause->compare_exchange_strong(none, signal);
  }
}

#ifdef _WIN32
BOOL WINAPI OnConsoleEvent(DWORD event) {
  Store(event == CTRL_C_EVENT ? SIGINT : SIGTERM);
  return TRUE;
}
#else
extern "C" void OnSignal(int signal) {
  // A closed terminal asks the run to end as a termination request does.
  Store(signal == SIGHUP ? SIGTERM : signal);
}
#endif

}  // namespace

CaughtInterrupts::CaughtInterrupts(std::atomic<int>& cause) : previous_(target.exchange(&cause)) {
  if (previous_) return;
#ifdef _WIN32
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
#else
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  // A write to a closed pipe fails instead, and the writer decides.
  std::signal(SIGPIPE, SIG_IGN);
#endif
}

CaughtInterrupts::~CaughtInterrupts() {
  target.store(previous_);
  if (previous_) return;
#ifdef _WIN32
  SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
#else
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) std::signal(signal, SIG_DFL);
#endif
}

}  // namespace platform
