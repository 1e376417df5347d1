#include "platform/collate.h"

#ifdef _WIN32
#include <windows.h>

#include <string>
#endif

namespace platform {

namespace {

#ifdef _WIN32
std::wstring Wide(std::string_view text) {
  const int n =
      ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) {
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  }
  return wide;
}
#else
unsigned char Folded(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b - 'A' + 'a') : b;
}
#endif

}  // namespace

int CompareDisplayNames(std::string_view a, std::string_view b) {
#ifdef _WIN32
  const std::wstring wa = Wide(a), wb = Wide(b);
  const int result =
      ::CompareStringW(LOCALE_USER_DEFAULT, 0, wa.data(), static_cast<int>(wa.size()), wb.data(),
                       static_cast<int>(wb.size()));
  if (result != 0) return result - CSTR_EQUAL;
  return wa.compare(wb);
#else
  // UTF-8 bytes compare as their code points do.
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (Folded(a[i]) != Folded(b[i])) return Folded(a[i]) < Folded(b[i]) ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  // Equal but for letter case: the small letter first, at the first difference.
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) return a[i] > b[i] ? -1 : 1;
  }
  return 0;
#endif
}

}  // namespace platform
