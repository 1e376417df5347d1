// The plain-text form of `quillon-cli info`, for reading in a terminal.
#pragma once

#include <ostream>
#include <string_view>

#include "drawing/jwwunit.h"

namespace cli {

void WriteInfoText(std::ostream& out, std::string_view path, const jww::Drawing& drawing);

}  // namespace cli
