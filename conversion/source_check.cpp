#include "conversion/source_check.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "conversion/path_text.h"
#include "platform/file_io.h"

namespace unit_val {

bool HasJwwExtension(const std::filesystem::path& file) {
  const std::string name = PathText(file.filename());
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string ext = name.substr(dot);
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return ext == ".JWW";
}

SourceCheck CheckSource(const std::filesystem::path& source) {
  errno = 0;
  std::FILE* f = platform::OpenFile(source, "rb");
  if (!f) {
    return {SourceKind::kUnreadable,
            "cannot open " + PathText(source) + ": " + std::strerror(errno ? errno : EIO)};
  }
  char buffer[8] = {};
  const std::size_t got = std::fread(buffer, 1, sizeof buffer, f);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return {SourceKind::kUnreadable, "cannot read " + PathText(source)};
  if (got == sizeof buffer && std::memcmp(buffer, "JwwData.", sizeof buffer) == 0) {
    return {SourceKind::kDrawing, {}};
  }
  return {SourceKind::kNotDrawing, "not a JWW drawing (no \"JwwData.\" signature)"};
}

}  // namespace unit_val
