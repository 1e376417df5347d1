#include "platform/file_lock.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>

#include "platform/long_path.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace platform {

FileLock::FileLock(FileLock&& other) noexcept {
  *this = std::move(other);
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this == &other) return *this;
  Release();
  file_ = std::move(other.file_);
  state_ = std::exchange(other.state_, LockState::kUnavailable);
  error_ = other.error_;
#ifdef _WIN32
  handle_ = std::exchange(other.handle_, nullptr);
#else
  fd_ = std::exchange(other.fd_, -1);
#endif
  return *this;
}

FileLock::~FileLock() {
  Release();
}

#ifdef _WIN32

FileLock FileLock::TryTake(const std::filesystem::path& file) {
  FileLock lock;
  lock.file_ = file;
  const std::filesystem::path path = LongPath(file);
  // Deleted when the last handle to it closes, so a holder that goes leaves
  // nothing behind.
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // A lock file on its way out (its holder has just closed it) refuses
    // new handles for a moment.
    const bool leaving =
        error == ERROR_ACCESS_DENIED && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    lock.state_ = leaving ? LockState::kBusy : LockState::kUnavailable;
    lock.error_ = std::error_code(static_cast<int>(error), std::system_category());
    return lock;
  }
  OVERLAPPED at = {};
  if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
    const DWORD error = GetLastError();
    CloseHandle(h);
    lock.state_ = error == ERROR_LOCK_VIOLATION ? LockState::kBusy : LockState::kUnavailable;
    lock.error_ = std::error_code(static_cast<int>(error), std::system_category());
    return lock;
  }
  lock.handle_ = h;
  lock.state_ = LockState::kHeld;
  return lock;
}

void FileLock::Release() {
  if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
  state_ = LockState::kUnavailable;
}

#else

namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

FileLock FileLock::TryTake(const std::filesystem::path& file) {
  FileLock lock;
  lock.file_ = file;
  // A holder removes the file as it lets go: a lock taken on a file no
  // longer at the path is tried again on the new one.
  for (int attempt = 0; attempt < 16; ++attempt) {
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    // Another user's lock file can still be locked through reading.
    if (fd < 0 && errno == EACCES) fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
      lock.error_ = std::error_code(errno, std::generic_category());
      return lock;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      ::close(fd);
      lock.state_ = error == EWOULDBLOCK ? LockState::kBusy : LockState::kUnavailable;
      lock.error_ = std::error_code(error, std::generic_category());
      return lock;
    }
    struct stat held, named;
    if (::fstat(fd, &held) == 0 && ::lstat(file.c_str(), &named) == 0 && SameFile(held, named)) {
      lock.fd_ = fd;
      lock.state_ = LockState::kHeld;
      return lock;
    }
    ::close(fd);
  }
  lock.state_ = LockState::kBusy;
  return lock;
}

void FileLock::Release() {
  if (fd_ >= 0) {
    ::unlink(file_.c_str());
    ::close(fd_);
  }
  fd_ = -1;
  state_ = LockState::kUnavailable;
}

#endif

}  // namespace platform
