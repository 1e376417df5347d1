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

WindowObserver::WindowObserver(MainView& view, unit_val::StopToken& stop, SteadyClock clock)
    : view_(view), stop_(stop), show_(kShowInterval, clock), poll_(kPollInterval, clock) {}

void WindowObserver::FileStarting(std::size_t index, std::size_t total,
                                  const std::filesystem::path& source,
                                  const std::filesystem::path& destination) {
  total_ = total;
  started_ = index + 1;
  source_ = source;
  destination_ = destination;
  shown_ = false;
  if (show_.Due()) Show();
}

void WindowObserver::FileDone(const unit_val::FileResult&) {
  if (total_ == 0) return;  // set aside before the planned files started
  ++finished_;
  shown_ = false;
  if (show_.Due()) Show();
}

void WindowObserver::Poll() {
  if (!poll_.Due()) return;
  view_.ProcessPendingEvents();
  if (view_.EscapePressed()) stop_.Request(unit_val::kStopCommand);
}

void WindowObserver::ShowLast() {
  if (!shown_) Show();
}

void WindowObserver::Show() {
  view_.SetStatusText(texts::Converting(source_, destination_, started_, total_));
  view_.ShowProgress(finished_, total_);
  shown_ = true;
}

}  // namespace unit1
