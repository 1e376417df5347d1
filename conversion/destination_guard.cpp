#include "conversion/destination_guard.h"

#include <system_error>

namespace unit_val {

namespace {

// "dir/" names the folder "dir", but the Windows C runtime cannot tell what a
// path ending in a separator is. A root ("/", "C:\\") keeps its separator.
std::filesystem::path WithoutTrailingSeparators(std::filesystem::path path) {
  while (!path.has_filename() && path.has_relative_path()) path = path.parent_path();
  return path;
}

}  // namespace

bool SameFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
  if (a.native() == b.native()) return true;
  std::error_code ec;
  return std::filesystem::equivalent(WithoutTrailingSeparators(a), WithoutTrailingSeparators(b),
                                     ec) &&
         !ec;
}

bool FolderWithin(const std::filesystem::path& folder, const std::filesystem::path& tree) {
  if (SameFolder(folder, tree)) return true;
  // The folder with its links and ".." resolved as far as it exists; each
  // folder on its way up is compared with the tree as the file system
  // knows them.
  std::error_code ec;
  std::filesystem::path resolved =
      std::filesystem::weakly_canonical(std::filesystem::absolute(folder, ec), ec);
  if (ec) resolved = std::filesystem::absolute(folder, ec).lexically_normal();
  resolved = WithoutTrailingSeparators(resolved);
  for (std::filesystem::path at = resolved;; at = at.parent_path()) {
    if (SameFolder(at, tree)) return true;
    if (at == at.parent_path() || at.empty()) return false;
  }
}

}  // namespace unit_val
