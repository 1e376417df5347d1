#include "tests/support/held_open.h"

#ifdef _WIN32
#include <windows.h>

namespace testing_support {

HeldOpen::HeldOpen(const std::filesystem::path& file)
    : handle_(::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}

HeldOpen::~HeldOpen() {
  if (held()) ::CloseHandle(handle_);
}

bool HeldOpen::held() const {
  return handle_ != INVALID_HANDLE_VALUE;
}

}  // namespace testing_support
#endif
