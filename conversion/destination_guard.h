// Telling whether a destination folder is the source folder.
#pragma once

#include <filesystem>

namespace unit_val {

// True when the two folder paths are the same text, or when both exist and
// are the same folder of the file system (other letter case on a
// case-insensitive file system, symbolic links, "." and ".." segments, a
// missing trailing separator).
bool SameFolder(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace unit_val
