// Paths longer than the 260 characters that Windows accepts by default (deep
// project folders on shares): the form "\\?\C:\..." or "\\?\UNC\server\..."
// that the system's file functions take at any length.
#pragma once

#include <filesystem>

namespace platform {

// On Windows, a path too long for the system's default limit in its
// extended-length form (made absolute, "." and ".." resolved); any other
// path, and every path elsewhere, as it is.
std::filesystem::path LongPath(const std::filesystem::path& path);

}  // namespace platform
