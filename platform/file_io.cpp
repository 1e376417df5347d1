#include "platform/file_io.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "common/ascii_case.h"
#include "platform/file_error.h"
#include "platform/file_faults.h"
#include "platform/file_move.h"
#include "platform/long_path.h"
#include "platform/path_text.h"
#include "platform/process.h"

#ifdef _WIN32
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace fs = std::filesystem;

namespace {

// Every caller reads and writes in large blocks of its own: a stream buffer
// would only split them into more system calls.
std::FILE* Unbuffered(std::FILE* file) {
  if (file) std::setvbuf(file, nullptr, _IONBF, 0);
  return file;
}

#ifdef _WIN32

std::FILE* RefuseUnlessRegular(std::FILE* file) {
  struct _stat64 st;
  if (!file || (_fstat64(_fileno(file), &st) == 0 && (st.st_mode & _S_IFMT) == _S_IFREG)) {
    return file;
  }
  std::fclose(file);
  _doserrno = 0;
  errno = kNotRegularFileErrno;
  return nullptr;
}

#else

bool RefusedType(mode_t type) {
  if (S_ISREG(type)) return false;
  errno = S_ISDIR(type) ? EISDIR : kNotRegularFileErrno;
  return true;
}

// The type is looked at before the open, so that no device is opened at all,
// and again on the open file, which is opened without waiting in case a pipe
// took the name in between.
std::FILE* OpenExisting(const fs::path& path, const char* mode) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || RefusedType(st.st_mode)) return nullptr;
  const int access = std::strchr(mode, '+') ? O_RDWR : O_RDONLY;
  const int fd = ::open(path.c_str(), access | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  if (::fstat(fd, &st) != 0 || RefusedType(st.st_mode) ||
      ::fcntl(fd, F_SETFL, 0) != 0) {  // reads wait for data again
    const int error = errno;
    ::close(fd);
    errno = error;
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, mode);
  if (!file) {
    const int error = errno;
    ::close(fd);
    errno = error;
  }
  return file;
}

#endif

}  // namespace

std::FILE* OpenFile(const fs::path& path, const char* mode) {
#ifdef _WIN32
  _doserrno = 0;  // so that a failure tells its own reason
#endif
  if (FileOpFails(FileOp::kOpen)) return nullptr;
#ifdef _WIN32
  std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
  std::FILE* file = _wfsopen(LongPath(path).c_str(), wmode.c_str(), _SH_DENYNO);
  if (mode[0] == 'r') file = RefuseUnlessRegular(file);
#else
  std::FILE* file = mode[0] == 'r' ? OpenExisting(path, mode) : std::fopen(path.c_str(), mode);
#endif
  return Unbuffered(file);
}

std::FILE* CreatePrivateFile(const fs::path& path) {
#ifdef _WIN32
  // Made in the user's own temp folder, which only that user may read.
  _doserrno = 0;
  if (FileOpFails(FileOp::kOpen)) return nullptr;
  return Unbuffered(_wfsopen(LongPath(path).c_str(), L"wb", _SH_DENYNO));
#else
  if (FileOpFails(FileOp::kOpen)) return nullptr;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, "wb");
  if (!file) {
    const int error = errno;
    ::close(fd);
    errno = error;
  }
  return Unbuffered(file);
#endif
}

bool CreatePrivateFolder(const fs::path& path, std::error_code& ec) {
#ifdef _WIN32
  if (fs::create_directory(path, ec)) return true;
  if (!ec) ec = std::make_error_code(std::errc::file_exists);
  return false;
#else
  if (::mkdir(path.c_str(), 0700) == 0) {
    ec.clear();
    return true;
  }
  ec = std::error_code(errno, std::generic_category());
  return false;
#endif
}

std::optional<std::uint64_t> OpenFileSize(std::FILE* file) {
#ifdef _WIN32
  struct _stat64 st;
  if (_fstat64(_fileno(file), &st) != 0) return std::nullopt;
#else
  struct stat st;
  if (::fstat(::fileno(file), &st) != 0) return std::nullopt;
#endif
  return static_cast<std::uint64_t>(st.st_size);
}

std::size_t ReadFile(std::FILE* file, void* into, std::size_t n, bool& failed) {
  if (FileOpFails(FileOp::kRead)) {
    failed = true;
    return 0;
  }
  const std::size_t got = std::fread(into, 1, n, file);
  if (got < n && std::ferror(file)) failed = true;
  return got;
}

bool WriteFile(std::FILE* file, const void* from, std::size_t n) {
  if (FileOpFails(FileOp::kWrite)) return false;
  return std::fwrite(from, 1, n, file) == n;
}

bool CloseFile(std::FILE* file) {
  const bool failed = FileOpFails(FileOp::kClose);
  const int saved = errno;
  const bool closed = std::fclose(file) == 0;
  if (failed) errno = saved;
  return closed && !failed;
}

bool RenameFile(const fs::path& from, const fs::path& to, std::error_code& ec) {
  if (FileOpFails(FileOp::kRename)) {
    ec = std::error_code(EIO, std::generic_category());
    return false;
  }
  ec = MoveReplacing(from, to);
  return !ec;
}

bool RemoveFile(const fs::path& path, std::error_code& ec) {
  if (FileOpFails(FileOp::kRemove)) {
    ec = std::error_code(EIO, std::generic_category());
    return false;
  }
  fs::remove(path, ec);
  return !ec;
}

bool SyncFile(std::FILE* file) {
  if (FileOpFails(FileOp::kSync)) return false;
  if (std::fflush(file) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return ::fsync(::fileno(file)) == 0;
#endif
}

bool SyncFileSystemOf(const fs::path& folder) {
  if (FileOpFails(FileOp::kSync)) return false;
#if defined(__linux__)
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::syncfs(fd) == 0;
  ::close(fd);
  return ok;
#else
  (void)folder;
  return false;
#endif
}

namespace {

const std::string& SuffixPrefix() {
  static const std::string prefix = MachineTag() + "-" + std::to_string(CurrentProcessId()) + "-";
  return prefix;
}

}  // namespace

fs::path::string_type UniqueSuffix() {
  static std::atomic<unsigned> counter{0};
  const auto ticks =
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  const std::string s = SuffixPrefix() + std::to_string(ticks % 1000000007ULL) + "-" +
                        std::to_string(counter.fetch_add(1));
  return fs::path(s).native();
}

std::optional<unsigned long> OwnerOfUniqueSuffix(std::string_view text) {
  const std::string machine = MachineTag() + "-";
  if (!text.starts_with(machine)) return std::nullopt;
  text.remove_prefix(machine.size());
  unsigned long pid = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), pid);
  if (ec != std::errc() || end == text.data() || end == text.data() + text.size() || *end != '-') {
    return std::nullopt;
  }
  return pid;
}

std::optional<FileIdentity> IdentityOf(const fs::path& path) {
#ifdef _WIN32
  HANDLE h =
      CreateFileW(LongPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  const BOOL ok = GetFileInformationByHandle(h, &info);
  CloseHandle(h);
  if (!ok) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber,
                      (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
#else
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
#endif
}

bool FolderIgnoresCase(const fs::path& folder) {
  // Respell the nearest name that has a letter with every letter's case
  // swapped: the folder is case-blind when that still leads to it.
  std::error_code ec;
  const fs::path real = fs::canonical(folder, ec);
  const auto identity = ec ? std::nullopt : IdentityOf(real);
  if (identity) {
    std::vector<fs::path> parts(real.begin(), real.end());
    for (std::size_t i = parts.size(); i-- > 0;) {
      std::string name = PathToUtf8(parts[i]);
      bool changed = false;
      for (char& c : name) {
        const char swapped = c == func::AsciiUpper(c) ? func::AsciiLower(c) : func::AsciiUpper(c);
        changed = changed || swapped != c;
        c = swapped;
      }
      if (!changed) continue;
      fs::path respelt;
      for (std::size_t j = 0; j < parts.size(); ++j)
        respelt /= j == i ? PathFromUtf8(name) : parts[j];
      return IdentityOf(respelt) == identity;
    }
  }
#if defined(_WIN32) || defined(__APPLE__)
  return true;
#else
  return false;
#endif
}

}  // namespace platform
