// A drawing's picture written as an SVG file, complete or not at all: into a
// temporary beside the destination, moved into place when whole.
#pragma once

#include <filesystem>

#include "conversion/failure_reason.h"
#include "render/svg_writer.h"

namespace cli {

// No failure when written.
unit_val::Failure WriteSvgFile(const render::DisplayList& list, const render::SvgOptions& options,
                               const std::filesystem::path& destination);

}  // namespace cli
