// Drawings and texts of plain values for the cli tests (the tables are
// filled with tests/support/synthetic.h).
#pragma once

#include <cstdint>

#include "drawing/jwwunit.h"

namespace cli_test {

// Header tables sized, the version set, text type n of size n, n, 0; no
// entities and an empty memo.
jww::Drawing EmptyDrawing(std::int32_t version);

jww::TEntMoji MakeText(const jww::JwwString& content, double width, double height, double spacing,
                       std::uint16_t colour, std::uint32_t textType = 0);

}  // namespace cli_test
