// Looking at a JWW file without loading it: the signature check and the memo
// probe for the file list.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#include "drawing/jwwunit.h"

namespace jww {

// True when the file's first 8 bytes are "JwwData.".
bool IsJwwFile(const std::filesystem::path& path);

enum class Signature { kJww, kOther, kUnreadable };
struct SignatureCheck {
  Signature signature = Signature::kUnreadable;
  std::string error;              // why the file could not be read, when kUnreadable
  std::error_code systemError{};  // the system's reason behind it
};
// The same check, telling a file without the signature from one that cannot
// be opened or read.
SignatureCheck CheckJwwSignature(const std::filesystem::path& path);

// Reads the header far enough to take the memo (through group 15). On true
// the drawing's header holds the file's signature, version, memo and paper
// size; the drawing is reset first.
bool ProbeJwwMemo(Drawing& drawing, const std::filesystem::path& path);

}  // namespace jww
