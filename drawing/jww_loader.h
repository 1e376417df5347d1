// Reads one JWW file into a Drawing, extracting embedded images into the
// drawing's temp folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "drawing/jwwunit.h"

namespace jww {

// What stopped a load, for callers that word the reason themselves.
enum class LoadFailure {
  kNone,
  kNotJww,          // no "JwwData." signature
  kNotRegularFile,  // a folder, a device or a pipe stands at the path
  kCannotOpen,
  kCannotRead,
  kDamaged,        // the data ends early or holds what no drawing holds
  kImageCutShort,  // an embedded image is cut short by the end of the file
  kOutOfMemory,    // the drawing needs more memory than a file of its size may take
};

struct LoadResult {
  LoadResult() = default;
  LoadResult(LoadFailure kind, std::string why, std::error_code system = {})
      : failure(kind), error(std::move(why)), systemError(system) {}
  LoadFailure failure = LoadFailure::kNone;  // kNone: the whole drawing was read
  std::string error;                         // what failed and where
  std::error_code systemError;               // behind kNotRegularFile, kCannotOpen and kCannotRead
  bool ok() const { return failure == LoadFailure::kNone; }
  explicit operator bool() const { return ok(); }
};

// A load holds at most this many bytes of tables for each byte of its file,
// and may always take kLoadMemoryFloor: a drawing that would need more fails
// as out of memory before the machine runs short.
inline constexpr std::uint64_t kLoadMemoryPerFileByte = 4;
inline constexpr std::uint64_t kLoadMemoryFloor = std::uint64_t{64} << 20;

// True when the whole file up to the end of its last section was read. A
// file that does not start with "JwwData." is refused (kNotJww). On
// failure the drawing holds whatever had been read; the caller frees it.
LoadResult LoadJww(Drawing& drawing, const std::filesystem::path& path);
// The same, reading from memory (for tests and fuzzing).
LoadResult LoadJwwFromMemory(Drawing& drawing, const void* data, std::size_t size);

}  // namespace jww
