#include "render/arc_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace render {

namespace {

constexpr double kTurn = 2 * std::numbers::pi;
constexpr double kChordErrorMm = 0.01;
constexpr int kMaxSegments = 720;

// True when `t` lies on the arc's span (angles taken round the turn).
bool OnSpan(const ArcShape& arc, double t) {
  if (arc.fullCircle) return true;
  double d = std::fmod(t - arc.start, kTurn);
  if (d < 0) d += kTurn;
  return d <= arc.span + 1e-12;
}

}  // namespace

ArcShape NormalArc(Point centre, double radius, double flatness, double tilt, double start,
                   double span, bool fullCircle) {
  ArcShape a;
  a.centre = centre;
  a.radius = std::abs(radius);
  a.flatness = flatness;
  a.tilt = tilt;
  a.start = start;
  a.span = span;
  a.fullCircle = fullCircle || std::abs(span) >= kTurn - 1e-9;
  if (a.span < 0) {
    a.start += a.span;
    a.span = -a.span;
  }
  if (a.flatness < 0) {  // mirrored across the ellipse's own x axis
    a.flatness = -a.flatness;
    a.start = -a.start - a.span;
  }
  if (a.fullCircle) {
    a.start = 0;
    a.span = kTurn;
  }
  return a;
}

ArcShape ArcOf(const jww::TEntEnko& arc) {
  return NormalArc({arc.centreX, arc.centreY}, arc.radius, arc.flatness, arc.tiltAngle,
                   arc.startAngle, arc.arcAngle, arc.fullCircle != 0);
}

Point ArcPoint(const ArcShape& arc, double t) {
  const double x = arc.radius * std::cos(t), y = arc.radius * arc.flatness * std::sin(t);
  const double c = std::cos(arc.tilt), s = std::sin(arc.tilt);
  return {arc.centre.x + c * x - s * y, arc.centre.y + s * x + c * y};
}

Rect ArcBounds(const ArcShape& arc) {
  Rect r;
  r.Add(ArcPoint(arc, arc.start));
  r.Add(ArcPoint(arc, arc.start + arc.span));
  // Where x or y of the tilted ellipse turns: dx/dt = 0 and dy/dt = 0.
  const double c = std::cos(arc.tilt), s = std::sin(arc.tilt), f = arc.flatness;
  const double tx = std::atan2(-f * s, c), ty = std::atan2(f * c, s);
  for (double t : {tx, tx + std::numbers::pi, ty, ty + std::numbers::pi}) {
    if (OnSpan(arc, t)) r.Add(ArcPoint(arc, t));
  }
  return r;
}

void AppendArcPoints(const ArcShape& arc, std::vector<Point>& out) {
  const double r = arc.radius * std::max(1.0, arc.flatness);
  // Chord error r (1 - cos(step / 2)) kept below the limit.
  double step = r > kChordErrorMm ? 2 * std::acos(1 - kChordErrorMm / r) : kTurn / 8;
  step = std::min(step, kTurn / 8);
  const double wanted = std::ceil(arc.span / step);
  const int segments =
      std::isfinite(wanted) ? static_cast<int>(std::clamp(wanted, 1.0, double{kMaxSegments})) : 1;
  for (int i = 0; i <= segments; ++i) {
    out.push_back(ArcPoint(arc, arc.start + arc.span * i / segments));
  }
}

}  // namespace render
