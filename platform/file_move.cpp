#include "platform/file_move.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/file_error.h"
#include "platform/long_path.h"
#endif

namespace platform {

#ifdef _WIN32
namespace {

bool HeldByAnotherProgram(const std::filesystem::path& file) {
  const HANDLE h =
      ::CreateFileW(file.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    ::CloseHandle(h);
    return false;
  }
  return ::GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace
#endif

std::error_code MoveReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
#ifdef _WIN32
  const std::filesystem::path source = LongPath(from), target = LongPath(to);
  if (::MoveFileExW(source.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return {};
  }
  const DWORD error = ::GetLastError();
  // A target held open by another program is reported as "access denied".
  if (error == ERROR_ACCESS_DENIED && HeldByAnotherProgram(target)) {
    return WindowsError(ERROR_SHARING_VIOLATION);
  }
  return WindowsError(error);
#else
  std::error_code ec;
  std::filesystem::rename(from, to, ec);
  return ec;
#endif
}

}  // namespace platform
