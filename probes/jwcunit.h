// jwcunit: JWC drawings, of which only the header is read: the signature
// check, and the probe of the two memo fields the file list shows.
#pragma once

#include <filesystem>

#include "probes/header_memo.h"

namespace jwc {

// The first 20 bytes of every JWC drawing.
inline constexpr char kSignature[] = "jw_cad(c)data.......";
// Four header records stand at the start of a JWC drawing.
inline constexpr std::size_t kHeaderRecordCount = 4;

// True when the file's first 20 bytes are the JWC signature.
bool IsJwcFile(const std::filesystem::path& path);

// The memo of the last probed JWC drawing. The signature is not checked:
// any file holding the four header records passes.
using JwcHeaderProbe = probes::HeaderProbe<kHeaderRecordCount>;

}  // namespace jwc
