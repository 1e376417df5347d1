// Reads one JWW file into a Drawing, extracting embedded images into the
// drawing's temp folder.
#pragma once

#include <filesystem>
#include <string>
#include <utility>

#include "drawing/jwwunit.h"

namespace jww {

struct LoadResult {
  LoadResult() = default;
  LoadResult(bool loaded, std::string why, bool withoutSignature = false)
      : ok(loaded), error(std::move(why)), notJww(withoutSignature) {}
  bool ok = false;
  std::string error;    // what failed and where, when !ok
  bool notJww = false;  // failed because the file lacks the "JwwData." signature
  explicit operator bool() const { return ok; }
};

// True when the whole file up to the end of its last section was read. A
// file that does not start with "JwwData." is refused (notJww). On
// failure the drawing holds whatever had been read; the caller frees it.
LoadResult LoadJww(Drawing& drawing, const std::filesystem::path& path);
// The same, reading from memory (for tests and fuzzing).
LoadResult LoadJwwFromMemory(Drawing& drawing, const void* data, std::size_t size);

}  // namespace jww
