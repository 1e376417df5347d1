// The filled outline of a solid: four points, or an arc solid flattened.
#pragma once

#include "drawing/jwwunit.h"
#include "render/display_list.h"

namespace render {

// A solid whose pen style is 101 or more is an arc solid: its points then
// hold the centre (start), radius and flatness (end x, y), tilt and start
// angle (point 2 x, y), span (point 3 x) and a kind (point 3 y). Pen style
// 101: kind 0 a sector, 5 a segment (arc and chord), 100 the whole ellipse,
// -1 the outside of the arc (between the arc and its two tangents); 105 and
// 106: a ring, point 3 y its inner radius; 111: along the circumference,
// kind 100 the whole ellipse, otherwise filled here as a segment.
bool IsArcSolid(const jww::TEntSolid& solid);

// The polygon Jw_cad fills for `solid`: a four-point solid in the stored
// order (start, end, point 2, point 3), an arc solid along its curves.
FillShape FillOfSolid(const jww::TEntSolid& solid);

}  // namespace render
