#include "app/undo_observer.h"

#include <algorithm>

#include "app/message_texts.h"

namespace unit1 {

UndoWindowObserver::UndoWindowObserver(MainView& view, unit_val::StopToken& stop, std::size_t total,
                                       SteadyClock clock)
    : view_(view),
      stop_(stop),
      show_(kShowInterval, clock),
      poll_(kPollInterval, clock),
      total_(total) {}

void UndoWindowObserver::FileDone(const unit_val::UndoFileResult& result) {
  ++done_;
  // The journal may have been replaced between the question and the undo.
  total_ = std::max(total_, done_);
  file_ = result.file;
  shown_ = false;
  if (show_.Due()) Show();
}

void UndoWindowObserver::Poll() {
  if (!poll_.Due()) return;
  view_.ProcessPendingEvents();
  if (view_.EscapePressed()) stop_.Request(unit_val::kStopCommand);
}

void UndoWindowObserver::ShowLast() {
  if (!shown_) Show();
}

void UndoWindowObserver::Show() {
  view_.SetStatusText(texts::Undoing(file_, done_, total_));
  view_.ShowProgress(done_, total_);
  shown_ = true;
}

}  // namespace unit1
