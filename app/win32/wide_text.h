// UTF-8 (what the windows' logic speaks) to and from UTF-16 (what the
// system's wide API speaks).
#pragma once

#include <string>
#include <string_view>

namespace win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

}  // namespace win32
