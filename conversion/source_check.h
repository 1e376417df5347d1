// Which files a conversion takes: the extension and the signature check.
#pragma once

#include <filesystem>
#include <string>

namespace unit_val {

// ".JWW" in any letter case, from the last "." of the file name.
bool HasJwwExtension(const std::filesystem::path& file);

enum class SourceKind { kDrawing, kNotDrawing, kUnreadable };
struct SourceCheck {
  SourceKind kind = SourceKind::kUnreadable;
  std::string reason;  // set for kNotDrawing and kUnreadable
};

// The "JwwData." signature check, telling a file that cannot be read from
// one that is not a drawing.
SourceCheck CheckSource(const std::filesystem::path& source);

}  // namespace unit_val
