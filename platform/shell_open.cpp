#include "platform/shell_open.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#endif

namespace platform {

bool OpenWithAssociatedProgram(const std::filesystem::path& file) {
#ifdef _WIN32
  const HINSTANCE result =
      ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
#else
  (void)file;
  return false;
#endif
}

}  // namespace platform
