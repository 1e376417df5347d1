// What a folder holds and what stands at a path, asked of the system at any
// path length: on Windows through the wide functions on the extended-length
// form of the path (the C++ library's folder walk and status stop near 260
// characters there), elsewhere through the POSIX calls.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/file_attributes.h"
#include "platform/file_time.h"

namespace platform {

struct FolderEntry {
  std::filesystem::path name;  // the entry's name, without its folder
  bool folder = false;         // a folder, or a link to one
  bool regularFile = false;    // a plain file, or a link to one
  bool link = false;           // a symbolic link (Windows: also a junction)
  FileAttributes attributes;
  std::uint64_t size = 0;              // bytes; 0 for a folder
  std::optional<LocalTime> lastWrite;  // local time; none when it cannot be told
};

struct FolderListing {
  std::vector<FolderEntry> entries;  // in the system's order, without "." and ".."
  std::error_code error;             // why the folder could not be read (whole); entries empty
};

// Every entry of a folder.
FolderListing ListFolder(const std::filesystem::path& folder);

enum class PathKind {
  kMissing,      // nothing there, or the system cannot tell (see `error`)
  kFolder,       // a folder, or a link to one
  kRegularFile,  // a plain file, or a link to one
  kOther,        // a device, a pipe, a socket
};

struct PathStatus {
  PathKind kind = PathKind::kMissing;
  std::error_code error;  // set with kMissing
};

// What stands at a path, links followed.
PathStatus StatusOf(const std::filesystem::path& path);

}  // namespace platform
