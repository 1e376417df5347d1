#include "app/background_queue.h"

namespace unit1 {

void BackgroundQueue::Submit(Job job) {
  const std::lock_guard lock(mutex_);
  if (closed_) return;
  running_.request_stop();
  waiting_ = std::move(job);
  if (!thread_.joinable()) {
    thread_ = std::thread([this] { Loop(); });
  }
  wake_.notify_one();
}

void BackgroundQueue::Cancel() {
  const std::lock_guard lock(mutex_);
  running_.request_stop();
  waiting_.reset();
}

void BackgroundQueue::Close() {
  {
    const std::lock_guard lock(mutex_);
    closed_ = true;
    running_.request_stop();
    waiting_.reset();
    wake_.notify_all();
  }
  if (thread_.joinable()) thread_.join();
}

void BackgroundQueue::Loop() {
  for (;;) {
    Job job;
    std::stop_token stop;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return closed_ || waiting_.has_value(); });
      if (closed_) return;
      job = std::move(*waiting_);
      waiting_.reset();
      running_ = std::stop_source();
      stop = running_.get_token();
    }
    try {
      job(stop);
    } catch (...) {
      // A job says what failed through its results; one that cannot (no
      // memory left to post them) ends without them.
    }
  }
}

}  // namespace unit1
