#include "app/undo_observer.h"

#include <algorithm>

#include "app/message_texts.h"

namespace unit1 {

UndoWindowObserver::UndoWindowObserver(MainView& view, unit_val::StopToken& stop, std::size_t total,
                                       SteadyClock clock)
    : view_(view), pacer_(view, stop, std::move(clock), [this] { Show(); }), total_(total) {}

void UndoWindowObserver::FileDone(const unit_val::UndoFileResult& result) {
  ++done_;
  // The journal may have been replaced between the question and the undo.
  total_ = std::max(total_, done_);
  file_ = result.file;
  pacer_.Changed();
}

void UndoWindowObserver::Show() {
  view_.SetStatusText(texts::Undoing(file_, done_, total_));
  view_.ShowProgress(done_, total_);
}

}  // namespace unit1
