#include "probes/jwcunit.h"

#include <cstdio>
#include <cstring>

#include "platform/file_io.h"

namespace jwc {

bool IsJwcFile(const std::filesystem::path& path) {
  constexpr std::size_t kLength = sizeof kSignature - 1;
  std::FILE* file = platform::OpenFile(path, "rb");
  if (!file) return false;
  char buffer[kLength + 1] = {};
  bool failed = false;
  const bool complete = platform::ReadFile(file, buffer, kLength, failed) == kLength;
  platform::CloseFile(file);
  // Compared up to the first zero byte, as a text.
  return complete && std::strcmp(buffer, kSignature) == 0;
}

}  // namespace jwc
