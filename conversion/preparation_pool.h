// Prepares the files of a run ahead of the caller on several threads, while
// the caller still takes them one after another in their order: backups,
// moves into place and reports stay sequential.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "conversion/convert_file.h"
#include "conversion/stop_token.h"

namespace unit_val {

// Prepares file `index` with the drawing and temp folder of the thread that
// runs it (the context's other fields come from the pool's template).
using PrepareFunction =
    std::function<PreparedConversion(std::size_t index, const ConvertContext& context)>;

// The threads a run uses unless told otherwise: one per processor, at most 4
// (beyond that the disk, not the processor, sets the pace).
unsigned DefaultWorkerCount();

class PreparationPool {
 public:
  // `workers` of 1 prepares each file when it is taken, on the caller's
  // thread. At most `lookAhead` files wait prepared beyond the one taken
  // last. A worker starts no file once a stop has been requested.
  PreparationPool(std::size_t count, unsigned workers, std::size_t lookAhead, bool dryRun,
                  const StopToken& stop, PrepareFunction prepare);
  PreparationPool(const PreparationPool&) = delete;
  PreparationPool& operator=(const PreparationPool&) = delete;
  // Stops the workers; preparations not taken are dropped, their temporaries
  // with them.
  ~PreparationPool();

  // Waits for file `index` (taken in order from 0) and hands it over. An
  // stopped run hands over an empty preparation for a file not started.
  PreparedConversion Take(std::size_t index);

 private:
  struct Worker;
  void Work(Worker& worker);
  PreparedConversion Run(std::size_t index, Worker& worker);

  std::size_t count_;
  std::size_t lookAhead_;
  bool dryRun_;
  const StopToken& stop_;
  PrepareFunction prepare_;
  std::vector<std::unique_ptr<Worker>> workers_;
  std::vector<std::thread> threads_;

  std::mutex mutex_;
  std::condition_variable arrived_;  // the caller waits for its file
  std::condition_variable room_;     // workers wait for look-ahead room
  std::vector<std::optional<PreparedConversion>> ready_;
  std::size_t next_ = 0;     // the next file a worker starts
  std::size_t taken_ = 0;    // files handed over
  std::size_t running_ = 0;  // worker threads still taking files
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::size_t awaited_ = kNone;     // the file the caller waits for
  std::size_t waitingForRoom_ = 0;  // workers waiting for room
  bool stopping_ = false;
};

}  // namespace unit_val
