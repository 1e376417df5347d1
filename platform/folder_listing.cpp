#include "platform/folder_listing.h"

#include <cerrno>
#include <string_view>

#include "platform/long_path.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/file_error.h"
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#endif

namespace platform {

namespace fs = std::filesystem;

#ifdef _WIN32

namespace {

std::optional<LocalTime> ToLocalTime(const FILETIME& written) {
  FILETIME local{};
  SYSTEMTIME t{};
  if (!::FileTimeToLocalFileTime(&written, &local) || !::FileTimeToSystemTime(&local, &t)) {
    return std::nullopt;
  }
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

FolderEntry EntryOf(const WIN32_FIND_DATAW& data) {
  const DWORD bits = data.dwFileAttributes;
  FolderEntry entry;
  entry.name = data.cFileName;
  entry.folder = (bits & FILE_ATTRIBUTE_DIRECTORY) != 0;
  entry.regularFile = !entry.folder && (bits & FILE_ATTRIBUTE_DEVICE) == 0;
  // Other reparse points (files kept in the cloud, deduplicated files) are
  // the files and folders they stand for.
  entry.link = (bits & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
               (data.dwReserved0 == IO_REPARSE_TAG_SYMLINK ||
                data.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
  entry.attributes.hidden = (bits & FILE_ATTRIBUTE_HIDDEN) != 0;
  entry.attributes.system = (bits & FILE_ATTRIBUTE_SYSTEM) != 0;
  entry.attributes.readOnly = (bits & FILE_ATTRIBUTE_READONLY) != 0;
  entry.attributes.archive = (bits & FILE_ATTRIBUTE_ARCHIVE) != 0;
  if (!entry.folder) entry.size = (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  entry.lastWrite = ToLocalTime(data.ftLastWriteTime);
  return entry;
}

}  // namespace

FolderListing ListFolder(const fs::path& folder) {
  FolderListing listing;
  WIN32_FIND_DATAW data{};
  const fs::path pattern = LongPath(folder / L"*");
  HANDLE find = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    // No entry at all (the root of an empty drive): an empty folder, when
    // it is a folder.
    if (error == ERROR_FILE_NOT_FOUND && StatusOf(folder).kind == PathKind::kFolder) {
      return listing;
    }
    listing.error = WindowsError(error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error);
    return listing;
  }
  do {
    const std::wstring_view name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    listing.entries.push_back(EntryOf(data));
  } while (::FindNextFileW(find, &data));
  const DWORD error = ::GetLastError();
  ::FindClose(find);
  if (error != ERROR_NO_MORE_FILES) {
    listing.entries.clear();
    listing.error = WindowsError(error);
  }
  return listing;
}

PathStatus StatusOf(const fs::path& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(LongPath(path).c_str(), GetFileExInfoStandard, &data)) {
    return {PathKind::kMissing, WindowsError(::GetLastError())};
  }
  const DWORD bits = data.dwFileAttributes;
  if (bits & FILE_ATTRIBUTE_DIRECTORY) return {PathKind::kFolder, {}};
  if (bits & FILE_ATTRIBUTE_DEVICE) return {PathKind::kOther, {}};
  return {PathKind::kRegularFile, {}};
}

#else

namespace {

std::optional<LocalTime> ToLocalTime(std::time_t written) {
  std::tm t{};
  if (!::localtime_r(&written, &t)) return std::nullopt;
  return LocalTime{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

// The entry `name` of the open folder `dir`, as the file list and the
// folder tree see it (a link is seen as what it leads to).
FolderEntry EntryOf(int dir, const char* name) {
  FolderEntry entry;
  entry.name = name;
  entry.attributes.hidden = name[0] == '.';
  struct stat info {};
  entry.link = ::fstatat(dir, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode);
  if ((entry.link || info.st_mode == 0) && ::fstatat(dir, name, &info, 0) != 0) return entry;
  entry.folder = S_ISDIR(info.st_mode);
  entry.regularFile = S_ISREG(info.st_mode);
  if (!entry.folder) entry.size = static_cast<std::uint64_t>(info.st_size);
  entry.lastWrite = ToLocalTime(info.st_mtime);
  // No write bit at all is how a read-only file looks on a POSIX file
  // system (file servers map the Windows attribute to it), and a privileged
  // user who could still write such a file should see it marked too.
  const bool noWriteBit = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  entry.attributes.readOnly = noWriteBit || ::faccessat(dir, name, W_OK, 0) != 0;
  return entry;
}

}  // namespace

FolderListing ListFolder(const fs::path& folder) {
  FolderListing listing;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) {
    listing.error = std::error_code(errno, std::generic_category());
    return listing;
  }
  const int fd = ::dirfd(dir);
  for (;;) {
    errno = 0;
    const dirent* item = ::readdir(dir);
    if (!item) break;
    const std::string_view name = item->d_name;
    if (name == "." || name == "..") continue;
    listing.entries.push_back(EntryOf(fd, item->d_name));
  }
  if (errno != 0) {
    listing.entries.clear();
    listing.error = std::error_code(errno, std::generic_category());
  }
  ::closedir(dir);
  return listing;
}

PathStatus StatusOf(const fs::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    return {PathKind::kMissing, std::error_code(errno, std::generic_category())};
  }
  if (S_ISDIR(info.st_mode)) return {PathKind::kFolder, {}};
  if (S_ISREG(info.st_mode)) return {PathKind::kRegularFile, {}};
  return {PathKind::kOther, {}};
}

#endif

}  // namespace platform
