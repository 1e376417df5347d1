#include "platform/file_attributes.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

FileAttributes AttributesOf(const std::filesystem::path& entry) {
  FileAttributes a;
#ifdef _WIN32
  const DWORD bits = GetFileAttributesW(entry.c_str());
  if (bits == INVALID_FILE_ATTRIBUTES) return a;
  a.hidden = (bits & FILE_ATTRIBUTE_HIDDEN) != 0;
  a.system = (bits & FILE_ATTRIBUTE_SYSTEM) != 0;
  a.readOnly = (bits & FILE_ATTRIBUTE_READONLY) != 0;
  a.archive = (bits & FILE_ATTRIBUTE_ARCHIVE) != 0;
#else
  const std::string name = entry.filename().string();
  a.hidden = !name.empty() && name[0] == '.';
  struct stat info {};
  if (::stat(entry.c_str(), &info) != 0) return a;
  // No write bit at all is how a read-only file looks on a POSIX file
  // system (file servers map the Windows attribute to it), and a privileged
  // user who could still write such a file should see it marked too.
  const bool noWriteBit = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  a.readOnly = noWriteBit || ::access(entry.c_str(), W_OK) != 0;
#endif
  return a;
}

}  // namespace platform
