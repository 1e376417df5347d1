// What the window shows and hears while an undo goes: the file of the
// moment and the count in the status bar and the progress bar, throttled
// as a run's, and the stop command and Escape at every look at the stop
// token.
#pragma once

#include <cstddef>
#include <filesystem>

#include "app/main_view.h"
#include "app/window_observer.h"
#include "conversion/stop_token.h"
#include "conversion/undo_run.h"

namespace unit1 {

class UndoWindowObserver : public unit_val::UndoObserver {
 public:
  // `total`: the files the journal names.
  UndoWindowObserver(MainView& view, unit_val::StopToken& stop, std::size_t total,
                     SteadyClock clock = std::chrono::steady_clock::now);

  void FileDone(const unit_val::UndoFileResult& result) override;
  void Poll() override { pacer_.Poll(); }
  // Shows the last state if it has not been shown yet.
  void ShowLast() { pacer_.ShowLast(); }

 private:
  void Show();

  MainView& view_;
  ProgressPacer pacer_;
  std::size_t total_;
  std::size_t done_ = 0;
  std::filesystem::path file_;
};

}  // namespace unit1
