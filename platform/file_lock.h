// An exclusive lock on a file of ours, held while the object lives, between
// processes of this machine (and of other PID namespaces sharing the file
// system): flock on POSIX systems, LockFileEx on Windows. The lock file is
// removed when the lock is let go; taking a lock makes sure the file it
// holds is still the one at the path.
#pragma once

#include <filesystem>
#include <system_error>

namespace platform {

enum class LockState {
  kHeld,         // taken
  kBusy,         // another holder has it
  kUnavailable,  // the lock file cannot be made or opened (see error())
};

class FileLock {
 public:
  FileLock() = default;
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  ~FileLock();

  // One try, without waiting; creates the file if needed.
  static FileLock TryTake(const std::filesystem::path& file);

  LockState state() const { return state_; }
  bool held() const { return state_ == LockState::kHeld; }
  const std::error_code& error() const { return error_; }

 private:
  void Release();

  std::filesystem::path file_;
  LockState state_ = LockState::kUnavailable;
  std::error_code error_;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace platform
