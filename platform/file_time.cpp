#include "platform/file_time.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>

#include <ctime>
#endif

namespace platform {

std::optional<LocalTime> LastWriteLocalTime(const std::filesystem::path& file) {
#ifdef _WIN32
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  FILETIME local{};
  SYSTEMTIME t{};
  if (!::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
      !::FileTimeToSystemTime(&local, &t)) {
    return std::nullopt;
  }
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
#else
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return std::nullopt;
  std::tm t{};
  if (!::localtime_r(&info.st_mtime, &t)) return std::nullopt;
  return LocalTime{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
#endif
}

}  // namespace platform
