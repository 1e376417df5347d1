#include "platform/shell_open.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdint>
#endif

namespace platform {

bool OpenWithAssociatedProgram(const std::filesystem::path& file) {
#ifdef _WIN32
  const std::filesystem::path folder = file.parent_path();
  const HINSTANCE result =
      ::ShellExecuteW(nullptr, L"open", file.c_str(), nullptr,
                      folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL);
  // Values above 32 mean success.
  return reinterpret_cast<std::intptr_t>(result) > 32;
#else
  (void)file;
  return false;
#endif
}

}  // namespace platform
