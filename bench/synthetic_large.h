// Large synthetic drawings for the benchmarks: mostly lines and texts, a few
// arcs and points, and block definitions with inserts of them, built through
// the drawing tables and written with the real writer.
#pragma once

#include <cstdint>
#include <filesystem>

#include "drawing/jwwunit.h"

namespace bench {

// A drawing of `version` whose file comes to about `targetBytes` (within a
// few percent). Version 700 and later store every string in UTF-16 form,
// older ones in Shift-JIS, as Jw_cad does. The same seed gives the same
// drawing.
jww::Drawing MakeLargeDrawing(std::int32_t version, std::uint64_t targetBytes,
                              std::uint32_t seed = 1);

// Builds the drawing and saves it at `path`; returns the file's size.
// Throws std::runtime_error when the save fails.
std::uint64_t WriteLargeDrawing(const std::filesystem::path& path, std::int32_t version,
                                std::uint64_t targetBytes, std::uint32_t seed = 1);

}  // namespace bench
