// A request to stop a run, set by whoever may ask for it (a signal handler,
// the window's stop command) and read by the run between files, before the
// final sync and between moves.
#pragma once

#include <atomic>

namespace unit_val {

class StopToken {
 public:
  // The first cause asked for is kept. Lock-free, so a signal handler may
  // call it (through cell()).
  void Request(int cause) noexcept {
    int none = 0;
    cause_.compare_exchange_strong(none, cause);
  }
  // 0 while no stop was asked for; else the cause (a signal number, or
  // kStopCommand).
  int cause() const noexcept { return cause_.load(); }
  bool requested() const noexcept { return cause() != 0; }
  void Clear() noexcept { cause_.store(0); }
  // What a signal handler sets, as Request does.
  std::atomic<int>& cell() noexcept { return cause_; }

 private:
  std::atomic<int> cause_{0};
  static_assert(std::atomic<int>::is_always_lock_free);
};

// The cause the windows' stop command gives.
inline constexpr int kStopCommand = -1;

}  // namespace unit_val
