// What a drawing looks like after the writer's rules: the tables a load of
// the saved file gives, computed in memory (reserved words zero, max draw
// width clamped, display flag 11 rebuilt, names and texts filtered,
// attributes checked, counts from the tables, only the images in use, with
// the sizes of their temp files). For a save in the version the drawing was
// built for: the parts of the layout a version lacks are not dropped here.
#pragma once

#include <cstdint>

#include "drawing/jwwunit.h"

namespace drawing_test {

jww::Drawing AsWritten(const jww::Drawing& d, std::int32_t version);

}  // namespace drawing_test
