#include "platform/file_move.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/file_error.h"
#include "platform/long_path.h"
#endif

namespace platform {

std::error_code MoveReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
#ifdef _WIN32
  if (::MoveFileExW(LongPath(from).c_str(), LongPath(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return {};
  }
  return WindowsError(::GetLastError());
#else
  std::error_code ec;
  std::filesystem::rename(from, to, ec);
  return ec;
#endif
}

}  // namespace platform
