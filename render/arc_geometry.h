// Arcs, circles and ellipses: as Jw_cad stores them, their extent, and as
// polygons for filled arc solids.
#pragma once

#include <vector>

#include "drawing/jwwunit.h"
#include "render/display_list.h"

namespace render {

// The arc of `arc`, its span made counter-clockwise (a clockwise span starts
// at its other end) and a negative flatness mirrored into a positive one.
ArcShape ArcOf(const jww::TEntEnko& arc);
ArcShape NormalArc(Point centre, double radius, double flatness, double tilt, double start,
                   double span, bool fullCircle);

// The point at parameter `t` (radians, in the ellipse's own frame).
Point ArcPoint(const ArcShape& arc, double t);

// The smallest rectangle around the drawn arc.
Rect ArcBounds(const ArcShape& arc);

// Points along the arc from its start to its end, close enough that no chord
// strays further than a hundredth of a millimetre from the curve (at least
// one per eighth of a turn, at most 720 in all).
void AppendArcPoints(const ArcShape& arc, std::vector<Point>& out);

}  // namespace render
