// Ctrl+C and termination requests, caught so that a run can stop between
// files and clean up instead of dying in the middle of one.
#pragma once

#include <atomic>

namespace platform {

// While one lives, SIGINT and SIGTERM (on Windows: Ctrl+C, Ctrl+Break and the
// console being closed) only store their signal number in `cause` (the
// first one stays), and nothing else; SIGHUP (the terminal closed) stores
// SIGTERM, and SIGPIPE is ignored, so that a write to a closed pipe fails
// instead of ending the process. Afterwards the handling before it comes
// back.
class CaughtInterrupts {
 public:
  explicit CaughtInterrupts(std::atomic<int>& cause);
  CaughtInterrupts(const CaughtInterrupts&) = delete;
  CaughtInterrupts& operator=(const CaughtInterrupts&) = delete;
  ~CaughtInterrupts();

 private:
  std::atomic<int>* previous_;
};

}  // namespace platform
