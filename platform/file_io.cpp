#include "platform/file_io.h"

#include <atomic>
#include <cctype>
#include <charconv>
#include <chrono>
#include <string>
#include <vector>

#include "platform/long_path.h"
#include "platform/path_text.h"
#include "platform/process.h"

#ifdef _WIN32
#include <io.h>
#include <share.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace fs = std::filesystem;

std::FILE* OpenFile(const fs::path& path, const char* mode) {
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

bool SyncFileSystemOf(const fs::path& folder) {
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
  HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
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
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isalpha(u)) {
          c = static_cast<char>(std::islower(u) ? std::toupper(u) : std::tolower(u));
          changed = true;
        }
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
