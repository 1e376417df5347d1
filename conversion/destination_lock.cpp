#include "conversion/destination_lock.h"

#include <thread>

#include "conversion/stale_temporaries.h"

namespace unit_val {

namespace fs = std::filesystem;

void DestinationLocks::KeepFiles(const std::vector<fs::path>& read) {
  std::lock_guard guard(mutex_);
  for (const fs::path& path : read) {
    if (const auto id = platform::IdentityOf(path)) kept_.insert(*id);
  }
}

Failure DestinationLocks::Lock(const fs::path& folder, Clock::time_point deadline) {
  const fs::path shown = folder.empty() ? fs::path(".") : folder;
  std::lock_guard guard(mutex_);
  const auto identity = platform::IdentityOf(shown);
  if (!identity) return {};  // not there: nothing in it to protect yet
  if (held_.contains(*identity)) return {};
  const fs::path file = shown / kLockFileName;
  for (;;) {
    platform::FileLock lock = platform::FileLock::TryTake(file);
    switch (lock.state()) {
      case platform::LockState::kHeld: {
        const auto lockIdentity = platform::IdentityOf(file);
        if (lockIdentity && kept_.contains(*lockIdentity)) lock.KeepWhenReleased();
        RemoveTemporariesOfLockedFolder(shown, kept_);
        held_.emplace(*identity, std::move(lock));
        return {};
      }
      case platform::LockState::kCannotCreate:
        return {};  // nobody may write into the folder: each file fails on its own
      case platform::LockState::kNotAFile:
        return LockFileNotAFile(shown, file);
      case platform::LockState::kUnavailable:
        return CannotLockDestination(shown, file, lock.error());
      case platform::LockState::kBusy:
        break;
    }
    if (Clock::now() >= deadline || (stop_ && stop_->requested())) {
      return DestinationLocked(shown);
    }
    waited_ = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

}  // namespace unit_val
