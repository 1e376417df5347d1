// What the window shows and hears while a batch run goes: the file count and
// the file of the moment in the status bar and the progress bar, at most
// about 20 times a second and always the last state; and the stop command
// and Escape, taken at every point the run looks at its stop token, the
// window's events handled every few hundredths of a second.
#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>

#include "app/main_view.h"
#include "conversion/batch_run.h"
#include "conversion/stop_token.h"

namespace unit1 {

using SteadyClock = std::function<std::chrono::steady_clock::time_point()>;

// True at the first call and then at most once per interval.
class Throttle {
 public:
  Throttle(std::chrono::milliseconds interval, SteadyClock clock)
      : interval_(interval), clock_(std::move(clock)) {}
  bool Due();

 private:
  std::chrono::milliseconds interval_;
  SteadyClock clock_;
  bool started_ = false;
  std::chrono::steady_clock::time_point last_{};
};

inline constexpr std::chrono::milliseconds kShowInterval{50};  // 20 times a second
inline constexpr std::chrono::milliseconds kPollInterval{25};

// The pacing a run's and an undo's progress share: the state shown at most
// every kShowInterval and always the last one, the window's events handled
// and Escape heard every kPollInterval.
class ProgressPacer {
 public:
  ProgressPacer(MainView& view, unit_val::StopToken& stop, SteadyClock clock,
                std::function<void()> show)
      : view_(view),
        stop_(stop),
        show_(kShowInterval, clock),
        poll_(kPollInterval, std::move(clock)),
        showState_(std::move(show)) {}
  ProgressPacer(const ProgressPacer&) = delete;
  ProgressPacer& operator=(const ProgressPacer&) = delete;
  // The state changed: shown now if it is due.
  void Changed();
  void Poll();
  // Shows the last state if it has not been shown yet.
  void ShowLast();

 private:
  void Show();

  MainView& view_;
  unit_val::StopToken& stop_;
  Throttle show_;
  Throttle poll_;
  std::function<void()> showState_;
  bool shown_ = true;  // the last state is on the screen
};

class WindowObserver : public unit_val::BatchObserver {
 public:
  WindowObserver(MainView& view, unit_val::StopToken& stop,
                 SteadyClock clock = std::chrono::steady_clock::now);

  void FileStarting(std::size_t index, std::size_t total, const std::filesystem::path& source,
                    const std::filesystem::path& destination) override;
  void FileDone(const unit_val::FileResult& result) override;
  void Poll() override { pacer_.Poll(); }
  // Shows the last state if it has not been shown yet.
  void ShowLast() { pacer_.ShowLast(); }

 private:
  void Show();

  MainView& view_;
  ProgressPacer pacer_;
  std::size_t total_ = 0;
  std::size_t started_ = 0;   // planned files taken so far
  std::size_t finished_ = 0;  // planned files reported
  std::filesystem::path source_, destination_;
};

}  // namespace unit1
