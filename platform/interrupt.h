// Ctrl+C and termination requests, caught so that a run can stop between
// files and clean up instead of dying in the middle of one.
#pragma once

namespace platform {

// From now on SIGINT and SIGTERM (on Windows: Ctrl+C, Ctrl+Break and the
// console being closed) only set a flag.
void CatchInterrupts();

// 0 while no request came; else the signal number (SIGINT for Ctrl+C).
int InterruptSignal();

// Forgets a request (tests run several commands in one process).
void ClearInterrupt();

// Acts as though the signal had arrived.
void RaiseInterrupt(int signal);

}  // namespace platform
