#include "render/solid_shape.h"

#include <cmath>
#include <numbers>

#include "render/arc_geometry.h"

namespace render {

namespace {

constexpr std::uint8_t kArcSolid = 101;
constexpr std::uint8_t kRingSolid1 = 105;
constexpr std::uint8_t kRingSolid2 = 106;
constexpr double kSector = 0;
constexpr double kOutside = -1;
constexpr double kWhole = 100;

bool Is(double value, double kind) {
  return std::abs(value - kind) < 0.5;
}

// The corner where the tangents at the arc's two ends meet, when they do on
// the arc's outer side.
bool TangentCorner(const ArcShape& arc, Point& corner) {
  if (arc.span <= 0 || arc.span >= std::numbers::pi - 1e-9) return false;
  const double t0 = arc.start, t1 = arc.start + arc.span;
  const Point p0 = ArcPoint(arc, t0), p1 = ArcPoint(arc, t1);
  // Tangent directions: the derivative of the tilted ellipse.
  const double c = std::cos(arc.tilt), s = std::sin(arc.tilt), f = arc.flatness;
  auto direction = [&](double t) {
    const double dx = -std::sin(t), dy = f * std::cos(t);
    return Point{c * dx - s * dy, s * dx + c * dy};
  };
  const Point d0 = direction(t0), d1 = direction(t1);
  const double d0x = d0.x, d0y = d0.y, d1x = d1.x, d1y = d1.y;
  const double det = d0x * d1y - d0y * d1x;
  if (std::abs(det) < 1e-18) return false;
  const double u = ((p1.x - p0.x) * d1y - (p1.y - p0.y) * d1x) / det;
  corner = {p0.x + u * d0x, p0.y + u * d0y};
  return true;
}

}  // namespace

bool IsArcSolid(const jww::TEntSolid& solid) {
  return solid.attr.penStyle >= kArcSolid;
}

FillShape FillOfSolid(const jww::TEntSolid& solid) {
  FillShape fill;
  if (!IsArcSolid(solid)) {
    fill.points = {{solid.startX, solid.startY},
                   {solid.endX, solid.endY},
                   {solid.point2X, solid.point2Y},
                   {solid.point3X, solid.point3Y}};
    return fill;
  }
  const std::uint8_t style = solid.attr.penStyle;
  const double kind = solid.point3Y;
  const bool ring = style == kRingSolid1 || style == kRingSolid2;
  const bool whole = (!ring && Is(kind, kWhole));
  const ArcShape arc = NormalArc({solid.startX, solid.startY}, solid.endX, solid.endY,
                                 solid.point2X, solid.point2Y, solid.point3X, whole);
  AppendArcPoints(arc, fill.points);
  if (ring) {
    // The inner ellipse, of the same flatness, back the other way.
    ArcShape inner = arc;
    inner.radius = std::abs(kind);
    std::vector<Point> back;
    AppendArcPoints(inner, back);
    fill.points.insert(fill.points.end(), back.rbegin(), back.rend());
    return fill;
  }
  if (whole) return fill;
  Point corner;
  if (style == kArcSolid && Is(kind, kSector)) {
    fill.points.push_back(arc.centre);
  } else if (style == kArcSolid && Is(kind, kOutside) && TangentCorner(arc, corner)) {
    fill.points.push_back(corner);
  }
  return fill;
}

}  // namespace render
