#include "conversion/preparation_pool.h"

#include <algorithm>
#include <exception>
#include <new>
#include <system_error>

namespace unit_val {

struct PreparationPool::Worker {
  jww::Drawing drawing;
  std::optional<TempFolder> tempFolder;  // made by the thread that uses it
};

unsigned DefaultWorkerCount() {
  return std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
}

PreparationPool::PreparationPool(std::size_t count, unsigned workers, std::size_t lookAhead,
                                 bool dryRun, const StopToken& stop, PrepareFunction prepare)
    : count_(count),
      lookAhead_(std::max<std::size_t>(lookAhead, 1)),
      dryRun_(dryRun),
      stop_(stop),
      prepare_(std::move(prepare)),
      ready_(count) {
  const std::size_t n = std::clamp<std::size_t>(workers, 1, std::max<std::size_t>(count, 1));
  for (std::size_t i = 0; i < n; ++i) workers_.push_back(std::make_unique<Worker>());
  if (n == 1) return;
  running_ = n;
  for (auto& worker : workers_) {
    try {
      threads_.emplace_back([this, &worker] { Work(*worker); });
    } catch (const std::system_error&) {
      // Fewer threads than asked for do the same work; with none at all the
      // caller's thread does it.
      std::lock_guard lock(mutex_);
      running_ -= n - threads_.size();
      break;
    }
  }
}

PreparationPool::~PreparationPool() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  room_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

PreparedConversion PreparationPool::Run(std::size_t index, Worker& worker) {
  if (!worker.tempFolder) worker.tempFolder.emplace();
  const ConvertContext context{worker.drawing, &*worker.tempFolder, dryRun_};
  try {
    return prepare_(index, context);
  } catch (const std::exception& e) {
    // Whatever escaped the load and the write (they catch their own errors)
    // fails this file only; the drawing is freed by the conversion itself.
    PreparedConversion failed;
    failed.outcome.failedStage = ConvertStage::kSave;
    const bool memory = dynamic_cast<const std::bad_alloc*>(&e) != nullptr;
    failed.outcome.failure = {memory ? Reason::kOutOfMemory : Reason::kUnexpected,
                              {},
                              e.what()[0] ? e.what() : "unknown error"};
    return failed;
  }
}

void PreparationPool::Work(Worker& worker) {
  std::unique_lock lock(mutex_);
  for (;;) {
    // Wakes are kept to those that someone waits for: a worker wakes the
    // caller only for the file it waits on, the caller wakes workers only
    // when one waits for room.
    while (!stopping_ && next_ < count_ && next_ >= taken_ + lookAhead_) {
      ++waitingForRoom_;
      room_.wait(lock);
      --waitingForRoom_;
    }
    if (stopping_ || next_ >= count_ || stop_.requested()) {
      --running_;
      arrived_.notify_one();
      return;
    }
    const std::size_t index = next_++;
    lock.unlock();
    PreparedConversion prepared = Run(index, worker);
    lock.lock();
    ready_[index] = std::move(prepared);
    if (index == awaited_) {
      // Woken after the unlock, the caller does not block again on the lock.
      lock.unlock();
      arrived_.notify_one();
      lock.lock();
    }
  }
}

PreparedConversion PreparationPool::Take(std::size_t index) {
  if (threads_.empty()) {
    taken_ = index + 1;
    return Run(index, *workers_.front());
  }
  std::unique_lock lock(mutex_);
  // A file that no worker started (they stop on a stop request) never comes.
  awaited_ = index;
  arrived_.wait(lock,
                [&] { return ready_[index].has_value() || (index >= next_ && running_ == 0); });
  awaited_ = kNone;
  PreparedConversion prepared;
  if (ready_[index]) prepared = std::move(*ready_[index]);
  ready_[index].reset();
  taken_ = index + 1;
  const bool wake = waitingForRoom_ > 0;
  lock.unlock();
  if (wake) room_.notify_all();
  return prepared;
}

}  // namespace unit_val
