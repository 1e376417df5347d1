// One thread off the window's thread that runs the latest job given to it:
// a new job stops the one running (through its stop token) and takes the
// place of one still waiting. The window never waits for a job, except for
// the one running when the queue is closed.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

namespace unit1 {

class BackgroundQueue {
 public:
  using Job = std::function<void(std::stop_token)>;

  BackgroundQueue() = default;
  BackgroundQueue(const BackgroundQueue&) = delete;
  BackgroundQueue& operator=(const BackgroundQueue&) = delete;
  ~BackgroundQueue() { Close(); }

  // Runs `job` once the running one has seen its stop token (the thread
  // starts with the first job). What a job throws ends it.
  void Submit(Job job);
  // Stops the running job and drops the waiting one.
  void Cancel();
  // Cancels and waits for the thread to end; later jobs are dropped.
  void Close();

 private:
  void Loop();

  std::mutex mutex_;
  // Woken under mutex_ for a new job and for the close, so that no wake-up
  // is lost between the thread's look at the state and its wait.
  std::condition_variable wake_;
  std::optional<Job> waiting_;
  std::stop_source running_;  // the stop source of the job running now
  bool closed_ = false;
  std::thread thread_;
};

}  // namespace unit1
