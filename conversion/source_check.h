// Which files a batch run takes: extension ".JWW" in any letter case, then
// the "JwwData." signature. A file that cannot be read is told apart from one
// that is not a drawing, so that it is reported as a failure, not skipped.
#pragma once

#include <filesystem>
#include <string>

#include "conversion/failure_reason.h"

namespace unit_val {

// The extension from the last "." of the file name, upper-cased, is ".JWW".
bool HasJwwExtension(const std::filesystem::path& file);

enum class SourceKind { kDrawing, kNotDrawing, kUnreadable };

struct SourceCheck {
  SourceKind kind = SourceKind::kUnreadable;
  Failure failure{};  // for kNotDrawing and kUnreadable
};

SourceCheck CheckSource(const std::filesystem::path& source);

}  // namespace unit_val
