// jwkunit: JWK figure files, of which only the two memo fields of the
// header are read. JWK files carry no signature.
#pragma once

#include <filesystem>

#include "probes/header_memo.h"

namespace jwk {

// Two header records stand at the start of a JWK figure file.
inline constexpr std::size_t kHeaderRecordCount = 2;

// The memo of the last probed JWK figure file.
using JwkHeaderProbe = probes::HeaderProbe<kHeaderRecordCount>;

}  // namespace jwk
