#include "platform/file_error.h"

#include <cerrno>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include <cstdlib>

#include "platform/path_text.h"
#endif

namespace platform {

#ifdef _WIN32

namespace {

class WindowsCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "windows"; }

  std::string message(int code) const override {
    switch (code) {
      case ERROR_SHARING_VIOLATION:
      case ERROR_LOCK_VIOLATION:
        return "the file is in use by another program (is it open in Jw_cad?)";
      case ERROR_ACCESS_DENIED:
        return "access denied (the file or folder is read-only or may not be changed)";
      case ERROR_FILE_NOT_FOUND:
        return "no such file";
      case ERROR_PATH_NOT_FOUND:
        return "no such folder";
      case ERROR_DISK_FULL:
      case ERROR_HANDLE_DISK_FULL:
        return "the disk is full";
      case ERROR_FILENAME_EXCED_RANGE:
        return "the path is too long";
      case ERROR_NOT_SAME_DEVICE:
        return "the two places are on different drives";
      default:
        return SystemText(static_cast<DWORD>(code));
    }
  }

  std::error_condition default_error_condition(int code) const noexcept override {
    switch (code) {
      case ERROR_FILE_NOT_FOUND:
      case ERROR_PATH_NOT_FOUND:
        return std::errc::no_such_file_or_directory;
      case ERROR_ACCESS_DENIED:
        return std::errc::permission_denied;
      case ERROR_SHARING_VIOLATION:
      case ERROR_LOCK_VIOLATION:
        return std::errc::device_or_resource_busy;
      case ERROR_DISK_FULL:
      case ERROR_HANDLE_DISK_FULL:
        return std::errc::no_space_on_device;
      default:
        return std::error_condition(code, *this);
    }
  }

 private:
  static std::string SystemText(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&text),
        0, nullptr);
    std::wstring wide = n > 0 ? std::wstring(text, n) : std::wstring();
    if (text) ::LocalFree(text);
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L'.')) {
      wide.pop_back();
    }
    if (wide.empty()) return "system error " + std::to_string(code);
    return PathToUtf8(std::filesystem::path(wide));
  }
};

}  // namespace

std::error_code WindowsError(unsigned long code) {
  static const WindowsCategory category;
  return std::error_code(static_cast<int>(code), category);
}

std::error_code LastFileError() {
  if (errno == kNotRegularFileErrno) return NotRegularFileError();
  const unsigned long code = _doserrno;
  if (code != 0) return WindowsError(code);
  return std::error_code(errno, std::generic_category());
}

#else

std::error_code LastFileError() {
  if (errno == kNotRegularFileErrno) return NotRegularFileError();
  return std::error_code(errno, std::generic_category());
}

#endif

namespace {

class NotRegularFileCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "file type"; }
  std::string message(int) const override {
    return "not a regular file (a device, a pipe or a socket)";
  }
};

}  // namespace

std::error_code NotRegularFileError() {
  static const NotRegularFileCategory category;
  return std::error_code(1, category);
}

}  // namespace platform
