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

}  // namespace unit_val
