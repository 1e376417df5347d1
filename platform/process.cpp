#include "platform/process.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace platform {

std::filesystem::path ExecutableDir() {
#ifdef _WIN32
  wchar_t buffer[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
  return std::filesystem::path(std::wstring(buffer, n)).parent_path();
#else
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return exe.parent_path();
#endif
}

bool IsTerminal(std::FILE* stream) {
#ifdef _WIN32
  return _isatty(_fileno(stream)) != 0;
#else
  return ::isatty(::fileno(stream)) != 0;
#endif
}

unsigned long CurrentProcessId() {
#ifdef _WIN32
  static const unsigned long pid = static_cast<unsigned long>(GetCurrentProcessId());
#else
  static const unsigned long pid = static_cast<unsigned long>(::getpid());
#endif
  return pid;
}

bool ProcessExists(unsigned long pid) {
#ifdef _WIN32
  HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (!h) return GetLastError() == ERROR_ACCESS_DENIED;
  DWORD code = 0;
  const bool running = GetExitCodeProcess(h, &code) && code == STILL_ACTIVE;
  CloseHandle(h);
  return running;
#else
  if (pid == 0 || pid > static_cast<unsigned long>(INT32_MAX)) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#endif
}

const std::string& MachineTag() {
  static const std::string tag = [] {
    std::string name;
#ifdef _WIN32
    wchar_t buffer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD n = static_cast<DWORD>(std::size(buffer));
    if (GetComputerNameW(buffer, &n)) {
      for (DWORD i = 0; i < n; ++i) {
        name += static_cast<char>(buffer[i] & 0xFF);
        name += static_cast<char>(buffer[i] >> 8);
      }
    }
#else
    char buffer[256] = {};
    if (::gethostname(buffer, sizeof buffer - 1) == 0) name = buffer;
#endif
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(hash));
    return std::string(text);
  }();
  return tag;
}

}  // namespace platform
