#include "platform/console.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>

#include "platform/path_text.h"
#endif

namespace platform {

#ifdef _WIN32

std::vector<std::string> Utf8Arguments(int, char**) {
  std::vector<std::string> args;
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!wide) return args;
  for (int i = 1; i < count; ++i) args.push_back(PathToUtf8(std::filesystem::path(wide[i])));
  ::LocalFree(wide);
  return args;
}

Utf8Output::Utf8Output() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  if (!_isatty(_fileno(stdout)) && !_isatty(_fileno(stderr))) return;
  const UINT current = ::GetConsoleOutputCP();
  if (current != 0 && current != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8)) {
    consoleCodePageToRestore_ = current;
  }
}

Utf8Output::~Utf8Output() {
  if (consoleCodePageToRestore_ != 0) ::SetConsoleOutputCP(consoleCodePageToRestore_);
}

#else

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

Utf8Output::Utf8Output() = default;
Utf8Output::~Utf8Output() = default;

#endif

}  // namespace platform
