#include "platform/long_path.h"

#ifdef _WIN32
#include <windows.h>

#include <string>
#endif

namespace platform {

#ifdef _WIN32

std::filesystem::path LongPath(const std::filesystem::path& path) {
  // Folders must leave room for an 8.3 name below them.
  constexpr std::size_t kDefaultLimit = MAX_PATH - 12;
  const std::wstring& text = path.native();
  if (text.empty() || text.starts_with(LR"(\\?\)")) return path;
  const DWORD size = ::GetFullPathNameW(text.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  const DWORD length = ::GetFullPathNameW(text.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return path;
  full.resize(length);
  if (full.size() < kDefaultLimit) return path;
  if (full.starts_with(LR"(\\.\)") || full.starts_with(LR"(\\?\)")) return full;
  if (full.starts_with(LR"(\\)")) return LR"(\\?\UNC\)" + full.substr(2);
  return LR"(\\?\)" + full;
}

#else

std::filesystem::path LongPath(const std::filesystem::path& path) {
  return path;
}

#endif

}  // namespace platform
