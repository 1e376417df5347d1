#include "platform/file_lock.h"

#include <cerrno>
#include <utility>

#include "platform/file_faults.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/long_path.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
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
  remove_ = other.remove_;
  created_ = other.created_;
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
  if (FileOpFails(FileOp::kOpen)) {
    lock.error_ = std::error_code(EIO, std::generic_category());
    return lock;
  }
  const std::filesystem::path path = LongPath(file);
  constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  for (int attempt = 0; attempt < 16; ++attempt) {
    // A file made here is deleted when the last handle to it closes, so a
    // holder that goes leaves nothing behind.
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, kShare, nullptr,
                           CREATE_NEW, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    bool created = h != INVALID_HANDLE_VALUE;
    DWORD error = created ? ERROR_SUCCESS : GetLastError();
    if (!created && error == ERROR_FILE_EXISTS) {
      // Read access is enough to lock, also a read-only file.
      h = CreateFileW(path.c_str(), GENERIC_READ, kShare, nullptr, OPEN_EXISTING,
                      FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
      error = h == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
      if (error == ERROR_FILE_NOT_FOUND) continue;  // let go meanwhile
    }
    if (h == INVALID_HANDLE_VALUE) {
      const DWORD attributes = GetFileAttributesW(path.c_str());
      lock.error_ = std::error_code(static_cast<int>(error), std::system_category());
      if (attributes != INVALID_FILE_ATTRIBUTES &&
          (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
        lock.state_ = LockState::kNotAFile;
      } else if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES) {
        // A lock file on its way out (its holder has just closed it) refuses
        // new handles for a moment.
        lock.state_ = LockState::kBusy;
      } else {
        lock.state_ = created || attributes != INVALID_FILE_ATTRIBUTES ? LockState::kUnavailable
                                                                       : LockState::kCannotCreate;
      }
      return lock;
    }
    if (created) {
      DWORD written = 0;
      OVERLAPPED start = {};
      ::WriteFile(h, kLockFileText.data(), static_cast<DWORD>(kLockFileText.size()), &written,
                  &start);
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(h, &info) &&
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
      CloseHandle(h);
      lock.state_ = LockState::kNotAFile;
      return lock;
    }
    OVERLAPPED at = {};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
      error = GetLastError();
      CloseHandle(h);
      lock.state_ = error == ERROR_LOCK_VIOLATION ? LockState::kBusy : LockState::kUnavailable;
      lock.error_ = std::error_code(static_cast<int>(error), std::system_category());
      return lock;
    }
    lock.handle_ = h;
    lock.created_ = created;
    lock.state_ = LockState::kHeld;
    return lock;
  }
  lock.state_ = LockState::kBusy;
  return lock;
}

bool FileLock::HoldsOurText() const {
  char text[kLockFileText.size() + 1];
  DWORD got = 0;
  OVERLAPPED start = {};
  if (!::ReadFile(static_cast<HANDLE>(handle_), text, sizeof text, &got, &start)) return false;
  return std::string_view(text, got) == kLockFileText;
}

void FileLock::Release() {
  if (handle_) {
    HANDLE h = static_cast<HANDLE>(handle_);
    const bool remove = !created_ && (remove_ == Removal::kAlways ||
                                      (remove_ == Removal::kIfOurs && HoldsOurText()));
    // Only a holder removes the file: the path still leads to this one.
    if (remove && !FileOpFails(FileOp::kRemove)) DeleteFileW(LongPath(file_).c_str());
    CloseHandle(h);
  }
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
  if (FileOpFails(FileOp::kOpen)) {
    lock.error_ = std::error_code(EIO, std::generic_category());
    return lock;
  }
  // A holder removes its file as it lets go: a lock taken on a file no
  // longer at the path is tried again on the new one.
  for (int attempt = 0; attempt < 16; ++attempt) {
    bool created = true;
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) {
      // Read access is enough to lock, also another user's file; a pipe is
      // opened without waiting for a writer, and a link not at all.
      created = false;
      fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
      if (fd < 0 && errno == ENOENT) continue;  // let go meanwhile
    }
    if (fd < 0) {
      const int error = errno;
      lock.error_ = std::error_code(error, std::generic_category());
      if (error == ELOOP) {
        lock.state_ = LockState::kNotAFile;
      } else if (created && (error == EACCES || error == EROFS || error == EPERM)) {
        lock.state_ = LockState::kCannotCreate;
      }
      return lock;
    }
    if (created) {
      // Written before the lock is tried: another run that locks the new
      // file first finds it ours when it lets go, and removes it.
      const ssize_t written = ::write(fd, kLockFileText.data(), kLockFileText.size());
      (void)written;
    }
    struct stat held;
    if (::fstat(fd, &held) == 0 && !S_ISREG(held.st_mode)) {
      ::close(fd);
      lock.state_ = LockState::kNotAFile;
      return lock;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      ::close(fd);
      lock.state_ = error == EWOULDBLOCK ? LockState::kBusy : LockState::kUnavailable;
      lock.error_ = std::error_code(error, std::generic_category());
      return lock;
    }
    struct stat named;
    if (::fstat(fd, &held) == 0 && ::lstat(file.c_str(), &named) == 0 && SameFile(held, named)) {
      lock.fd_ = fd;
      lock.created_ = created;
      lock.state_ = LockState::kHeld;
      return lock;
    }
    ::close(fd);
  }
  lock.state_ = LockState::kBusy;
  return lock;
}

bool FileLock::HoldsOurText() const {
  char text[kLockFileText.size() + 1];
  const ssize_t got = ::pread(fd_, text, sizeof text, 0);
  return got >= 0 && std::string_view(text, static_cast<std::size_t>(got)) == kLockFileText;
}

void FileLock::Release() {
  if (fd_ >= 0) {
    const bool remove = remove_ == Removal::kAlways ||
                        (remove_ == Removal::kIfOurs && (created_ || HoldsOurText()));
    if (remove && !FileOpFails(FileOp::kRemove)) ::unlink(file_.c_str());
    ::close(fd_);
  }
  fd_ = -1;
  state_ = LockState::kUnavailable;
}

#endif

}  // namespace platform
