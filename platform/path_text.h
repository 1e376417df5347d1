// The one conversion between paths and UTF-8 text. Every path that comes
// from text (a command-line argument, a settings value, a test input) is
// made by PathFromUtf8, and every path shown as text goes through
// PathToUtf8, whatever the system's native form: UTF-16 on Windows, bytes
// elsewhere (taken to be UTF-8 and carried unchanged).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// On Windows, bytes that are no UTF-8 become U+FFFD.
std::filesystem::path PathFromUtf8(std::string_view text);

// On Windows, an unpaired surrogate in a name becomes U+FFFD.
std::string PathToUtf8(const std::filesystem::path& path);

}  // namespace platform
