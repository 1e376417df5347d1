// Jw_cad's line types as dash patterns on the paper.
#pragma once

#include <cstdint>
#include <vector>

#include "drawing/jwwunit.h"

namespace render {

// The dashes (paper mm, on and off in turn, starting with a dash) of a
// stored pattern: the top `unitBits` bits of `pattern`, most significant
// first, each bit `bitMm` long, repeated. Empty when the pattern is solid or
// draws nothing.
std::vector<double> DashesOfPattern(std::uint32_t pattern, std::uint32_t unitBits, double bitMm);

// The dashes of pen style `penStyle` in `header`: 1 solid, 2..9 the line
// type table, 16..19 the double-length line types, 31 and above the
// extended (SXF) line types; anything else solid.
std::vector<double> DashesOfPenStyle(const jww::THeader& header, std::uint8_t penStyle);

}  // namespace render
