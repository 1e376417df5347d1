// Field-by-field comparison of drawings, naming the first field that differs.
#pragma once

#include <string>

#include "drawing/jwwunit.h"

namespace drawing_test {

// Empty when equal; otherwise the path of the first differing field with both
// values, e.g. "blockDefs[1].entities.points[0].scale: 2.5 vs 2.75". Doubles
// are compared bit for bit; of the image list only the stored fields (name,
// size) count.
std::string FirstDifference(const jww::Drawing& a, const jww::Drawing& b);

}  // namespace drawing_test
