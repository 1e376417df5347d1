#include "conversion/destination_lock.h"

#include <thread>

#include "conversion/path_text.h"
#include "conversion/stale_temporaries.h"

namespace unit_val {

namespace fs = std::filesystem;

Failure DestinationLocks::Lock(const fs::path& folder, Clock::time_point deadline,
                               std::string& text) {
  text.clear();
  const fs::path shown = folder.empty() ? fs::path(".") : folder;
  std::lock_guard guard(mutex_);
  const auto identity = platform::IdentityOf(shown);
  if (!identity) return {};  // not there: nothing in it to protect yet
  if (held_.contains(*identity)) return {};
  for (;;) {
    platform::FileLock lock = platform::FileLock::TryTake(shown / kLockFileName);
    if (lock.held()) {
      RemoveTemporariesOfLockedFolder(shown);
      held_.emplace(*identity, std::move(lock));
      return {};
    }
    if (lock.state() == platform::LockState::kUnavailable) return {};
    if (Clock::now() >= deadline || (stop_ && stop_->requested())) {
      text = "another run is writing into the folder " + PathText(shown) +
             "; try again when it has finished";
      return {Reason::kDestinationLocked, {}};
    }
    waited_ = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

}  // namespace unit_val
