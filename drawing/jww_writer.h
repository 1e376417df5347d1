// Writes a Drawing as a JWW file of a given version, with its embedded
// images taken back from the temp files the loader extracted.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "drawing/atomic_file.h"
#include "drawing/jwwunit.h"

namespace jww {

struct SaveResult {
  bool ok = false;
  std::string error;
  std::error_code writeError{};  // the system's reason when writing the file failed
  std::uint64_t bytes = 0;       // written, when ok
  explicit operator bool() const { return ok; }
};

// Writes the whole file. The destination appears only complete: on failure
// no file is left at `path` (an existing file there stays as it was).
SaveResult SaveJww(Drawing& drawing, const std::filesystem::path& path, std::int32_t version);

// Writes the drawing into a pending file without committing it, so that the
// caller can decide what happens at the destination before it appears.
SaveResult WriteJww(Drawing& drawing, PendingFile& file, std::int32_t version);

// The file's bytes, for tests.
SaveResult SaveJwwToMemory(Drawing& drawing, std::int32_t version, std::string& out);

// Marks the images that texts of the drawing still refer to and whose temp
// files exist; returns how many.
std::uint32_t MarkImagesInUse(Drawing& drawing);

}  // namespace jww
