#include "app/win32/wide_text.h"

#include <filesystem>

#include "platform/path_text.h"

namespace win32 {

// On Windows a path's native form is its UTF-16 text.
std::wstring Wide(std::string_view utf8) {
  return platform::PathFromUtf8(utf8).native();
}

std::string Utf8(std::wstring_view wide) {
  return platform::PathToUtf8(std::filesystem::path(wide));
}

}  // namespace win32
