#include "platform/file_io.h"

#include <atomic>
#include <chrono>
#include <string>

#include "platform/long_path.h"

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <share.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
  std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
  _doserrno = 0;  // so that a failure tells its own reason
  return _wfsopen(LongPath(path).c_str(), wmode.c_str(), _SH_DENYNO);
#else
  return std::fopen(path.c_str(), mode);
#endif
}

bool SyncFile(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return ::fsync(::fileno(file)) == 0;
#endif
}

bool SyncFileSystemOf(const std::filesystem::path& folder) {
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

std::filesystem::path::string_type UniqueSuffix() {
  static std::atomic<unsigned> counter{0};
#ifdef _WIN32
  const unsigned long pid = static_cast<unsigned long>(_getpid());
#else
  const unsigned long pid = static_cast<unsigned long>(::getpid());
#endif
  const auto ticks =
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  const std::string s = std::to_string(pid) + "-" + std::to_string(ticks % 1000000007ULL) + "-" +
                        std::to_string(counter.fetch_add(1));
  return std::filesystem::path(s).native();
}

}  // namespace platform
