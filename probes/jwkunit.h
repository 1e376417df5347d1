// jwkunit: JWK figure files, of which only the two memo fields of the
// header are read. JWK files carry no signature.
#pragma once

#include <filesystem>

#include "probes/header_memo.h"

namespace jwk {

// Two header records stand at the start of a JWK figure file.
inline constexpr std::size_t kHeaderRecordCount = 2;

// The memo of the last probed JWK figure file.
class JwkHeaderProbe {
 public:
  // Resets, then reads the header records; on true memo() holds the file's
  // memo fields.
  bool Probe(const std::filesystem::path& path);
  void Reset() { memo_.Reset(); }
  const probes::HeaderMemo& memo() const { return memo_; }

 private:
  probes::HeaderMemo memo_;
};

}  // namespace jwk
