#include "app/window_observer.h"

#include "app/message_texts.h"

namespace unit1 {

bool Throttle::Due() {
  const auto now = clock_();
  if (started_ && now - last_ < interval_) return false;
  started_ = true;
  last_ = now;
  return true;
}

void ProgressPacer::Changed() {
  shown_ = false;
  if (show_.Due()) Show();
}

void ProgressPacer::Poll() {
  if (!poll_.Due()) return;
  view_.ProcessPendingEvents();
  if (view_.EscapePressed()) stop_.Request(unit_val::kStopCommand);
}

void ProgressPacer::ShowLast() {
  if (!shown_) Show();
}

void ProgressPacer::Show() {
  showState_();
  shown_ = true;
}

WindowObserver::WindowObserver(MainView& view, unit_val::StopToken& stop, SteadyClock clock)
    : view_(view), pacer_(view, stop, std::move(clock), [this] { Show(); }) {}

void WindowObserver::FileStarting(std::size_t index, std::size_t total,
                                  const std::filesystem::path& source,
                                  const std::filesystem::path& destination) {
  total_ = total;
  started_ = index + 1;
  source_ = source;
  destination_ = destination;
  pacer_.Changed();
}

void WindowObserver::FileDone(const unit_val::FileResult&) {
  if (total_ == 0) return;  // set aside before the planned files started
  ++finished_;
  pacer_.Changed();
}

void WindowObserver::Show() {
  view_.SetStatusText(texts::Converting(source_, destination_, started_, total_));
  view_.ShowProgress(finished_, total_);
}

}  // namespace unit1
