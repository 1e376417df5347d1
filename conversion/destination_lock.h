// The locks a run holds on the folders it writes into, so that two runs
// never write into one folder at once (each would take the other's fresh
// output for the former file to keep as ".BAK"). A lock is a file of ours in
// the folder, held open and locked while the run lasts. A run never goes on
// without the lock of a folder it may write into.
#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "conversion/failure_reason.h"
#include "conversion/stop_token.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"

namespace unit_val {

inline constexpr char kLockFileName[] = ".quillon.lock";

class DestinationLocks {
 public:
  using Clock = std::chrono::steady_clock;

  // A stop asked for through `stop` ends a wait for a lock at once.
  explicit DestinationLocks(const StopToken* stop = nullptr) : stop_(stop) {}

  // Locks an existing folder, trying until `deadline` while another run
  // holds it. A folder locked anew is cleared of the temporaries that runs
  // before left in it: whoever wrote them holds no lock any more. A folder
  // where no lock file stands and none can be made (nobody can write into
  // it) is let be; a lock file that cannot be opened or locked, or a folder
  // or link in its place, refuses (kCannotLockDestination). No failure
  // when held or let be.
  Failure Lock(const std::filesystem::path& folder, Clock::time_point deadline);

  // Files the run reads: one of them standing at a lock's name is locked
  // but never removed.
  void KeepFiles(const std::vector<std::filesystem::path>& read);

  // Whether a lock had to be waited for: what stands in that folder may have
  // changed meanwhile.
  bool waited() const { return waited_; }

 private:
  const StopToken* stop_;
  bool waited_ = false;
  std::mutex mutex_;
  std::map<platform::FileIdentity, platform::FileLock> held_;
  std::set<platform::FileIdentity> kept_;
};

}  // namespace unit_val
