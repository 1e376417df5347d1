// Telling whether a destination folder is the source folder, or lies in
// the tree of folders below it.
#pragma once

#include <filesystem>

namespace unit_val {

// True when the two folder paths are the same text, or when both exist and
// are the same folder of the file system (other letter case on a
// case-insensitive file system, symbolic links, "." and ".." segments, a
// missing trailing separator).
bool SameFolder(const std::filesystem::path& a, const std::filesystem::path& b);

// True when `folder` is `tree` or any folder below it, however either is
// written (as SameFolder, and through links anywhere on `folder`'s way);
// `folder` need not exist yet.
bool FolderWithin(const std::filesystem::path& folder, const std::filesystem::path& tree);

}  // namespace unit_val
