// An exclusive lock on a file of ours, held while the object lives, between
// processes of this machine (and of other PID namespaces sharing the file
// system): flock on POSIX systems, LockFileEx on Windows. Taking a lock makes
// sure the file it holds is still the one at the path.
//
// A lock file this program makes holds kLockFileText from the moment it is
// made, and is removed when the lock is let go. A file that stood at the
// path before is locked as it is, and removed only when it proves to be one
// of ours (it holds exactly kLockFileText): a user's file of that name stays.
#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace platform {

inline constexpr std::string_view kLockFileText =
    "Quillon: while a conversion run writes into this folder, this file keeps other runs out. "
    "It goes when the run ends.\n";

enum class LockState {
  kHeld,          // taken
  kBusy,          // another holder has it
  kCannotCreate,  // no file stands at the path and none can be made there (see error())
  kNotAFile,      // a folder, a link, a pipe or a device stands at the path
  kUnavailable,   // the file there cannot be opened or locked (see error())
};

class FileLock {
 public:
  FileLock() = default;
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  ~FileLock();

  // One try, without waiting; creates the file if needed. Opens and removes
  // through the file layer's failures (platform/file_faults.h).
  static FileLock TryTake(const std::filesystem::path& file);

  LockState state() const { return state_; }
  bool held() const { return state_ == LockState::kHeld; }
  const std::error_code& error() const { return error_; }

  // The held file is removed when let go whatever it holds (its name alone
  // proves it ours).
  void RemoveWhenReleased() { remove_ = Removal::kAlways; }
  // The held file stays when let go whatever it holds (a file the caller
  // reads).
  void KeepWhenReleased() { remove_ = Removal::kNever; }

 private:
  enum class Removal { kIfOurs, kAlways, kNever };
  void Release();
  bool HoldsOurText() const;

  std::filesystem::path file_;
  LockState state_ = LockState::kUnavailable;
  std::error_code error_;
  Removal remove_ = Removal::kIfOurs;
  bool created_ = false;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace platform
