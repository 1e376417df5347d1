// Arcs, arc solids, text cells and dashes as Jw_cad draws them.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "render/arc_geometry.h"
#include "render/line_types.h"
#include "render/solid_shape.h"
#include "render/text_layout.h"

namespace {

using namespace render;
constexpr double kPi = std::numbers::pi;

void ExpectNear(Point p, double x, double y) {
  EXPECT_NEAR(p.x, x, 1e-9);
  EXPECT_NEAR(p.y, y, 1e-9);
}

TEST(DisplayListShapes, ArcStartSpanTiltAndFlatness) {
  // An ellipse 10 along its axis, 5 across, its axis turned a quarter: the
  // start is taken in the ellipse's own frame, before the tilt.
  jww::TEntEnko e;
  e.centreX = 100, e.centreY = 0, e.radius = 10, e.flatness = 0.5, e.tiltAngle = kPi / 2;
  e.startAngle = 0, e.arcAngle = kPi / 2;
  ArcShape arc = ArcOf(e);
  ExpectNear(ArcPoint(arc, arc.start), 100, 10);
  ExpectNear(ArcPoint(arc, arc.start + arc.span), 95, 0);
  Rect box = ArcBounds(arc);
  EXPECT_NEAR(box.left, 95, 1e-9);
  EXPECT_NEAR(box.right, 100, 1e-9);
  EXPECT_NEAR(box.top, 10, 1e-9);

  // A clockwise span is the same arc from its other end.
  e.tiltAngle = 0, e.flatness = 1, e.startAngle = 0, e.arcAngle = -kPi / 2;
  arc = ArcOf(e);
  EXPECT_NEAR(arc.span, kPi / 2, 1e-12);
  ExpectNear(ArcPoint(arc, arc.start), 100, -10);
  ExpectNear(ArcPoint(arc, arc.start + arc.span), 110, 0);
  // The turning points inside the span widen the box, those outside do not.
  e.startAngle = kPi / 4, e.arcAngle = kPi / 2;
  box = ArcBounds(ArcOf(e));
  EXPECT_NEAR(box.top, 10, 1e-9);
  EXPECT_NEAR(box.bottom, 10 * std::sin(kPi / 4), 1e-9);
  EXPECT_NEAR(box.right, 100 + 10 * std::cos(kPi / 4), 1e-9);
}

TEST(DisplayListShapes, ArcSolidsFollowTheirKind) {
  jww::TEntSolid s;
  s.attr.penStyle = 101;
  s.startX = 10, s.startY = 20;  // centre
  s.endX = 5, s.endY = 1;        // radius, flatness
  s.point2X = 0, s.point2Y = 0;  // tilt, start
  s.point3X = kPi / 2;           // span
  s.point3Y = 0;                 // a sector: arc, then the centre
  FillShape fill = FillOfSolid(s);
  ExpectNear(fill.points.front(), 15, 20);
  ExpectNear(fill.points[fill.points.size() - 2], 10, 25);
  ExpectNear(fill.points.back(), 10, 20);
  s.point3Y = -1;  // outside the arc: closed at the tangents' corner
  ExpectNear(FillOfSolid(s).points.back(), 15, 25);
  s.point3Y = 100;  // the whole ellipse, whatever the span
  fill = FillOfSolid(s);
  ExpectNear(fill.points.back(), 15, 20);
  EXPECT_GT(fill.points.size(), 8u);
  s.attr.penStyle = 105;  // a ring down to radius 2
  s.point3Y = 2;
  fill = FillOfSolid(s);
  ExpectNear(fill.points.back(), 12, 20);
  // A four-point solid keeps its stored order.
  jww::TEntSolid quad;
  quad.attr.penStyle = 1;
  quad.startX = 0, quad.endY = 1, quad.point2X = 1, quad.point2Y = 1, quad.point3X = 1;
  fill = FillOfSolid(quad);
  ASSERT_EQ(fill.points.size(), 4u);
  ExpectNear(fill.points[1], 0, 1);
  ExpectNear(fill.points[2], 1, 1);
}

TEST(DisplayListShapes, HalfWidthCharactersTakeHalfACellAndHalfTheSpacing) {
  jww::TEntMoji t;
  t.width = 4, t.height = 5, t.spacing = 1, t.angle = 90;
  t.startX = 1, t.startY = 2;
  t.text = jww::JwwString::narrow(
      "a\x8A\xBF\xB6"
      "b");  // a, 漢, half-width カ, b
  TextShape shape;
  LayOutText(t, shape);
  ASSERT_EQ(shape.glyphs.size(), 4u);
  EXPECT_EQ(shape.glyphs[1].utf8, "漢");
  EXPECT_EQ(shape.glyphs[2].utf8, "ｶ");
  EXPECT_TRUE(shape.glyphs[2].halfWidth);
  EXPECT_DOUBLE_EQ(shape.glyphs[1].offset, 2.5);
  EXPECT_DOUBLE_EQ(shape.glyphs[1].width, 4);
  EXPECT_DOUBLE_EQ(shape.glyphs[2].offset, 7.5);
  EXPECT_DOUBLE_EQ(shape.glyphs[3].offset, 10);
  EXPECT_DOUBLE_EQ(TextAdvance(shape), 12);
  EXPECT_NEAR(shape.angle, kPi / 2, 1e-12);
  EXPECT_EQ(shape.utf8, "a漢ｶb");

  // UTF-16: half-width by the character, a surrogate pair one full cell.
  t.text = jww::JwwString::fromUtf16(u"x\xFF76\xD842\xDFB7");
  LayOutText(t, shape);
  ASSERT_EQ(shape.glyphs.size(), 3u);
  EXPECT_TRUE(shape.glyphs[1].halfWidth);
  EXPECT_FALSE(shape.glyphs[2].halfWidth);
  EXPECT_DOUBLE_EQ(TextAdvance(shape), 2 + 0.5 + 2 + 0.5 + 4);
}

TEST(DisplayListShapes, LineTypesBecomeDashesOnThePaper) {
  // Bits most significant first, wrapped to start with a dash.
  EXPECT_EQ(DashesOfPattern(0xC3C3C3C3, 8, 1), (std::vector<double>{4, 4}));
  EXPECT_EQ(DashesOfPattern(0xF99FF99F, 16, 0.5), (std::vector<double>{1, 1, 5, 1}));
  EXPECT_TRUE(DashesOfPattern(0xFFFFFFFF, 32, 1).empty());
  jww::THeader header;
  header.lineTypes.resize(jww::kLineTypeCount);
  header.lineTypes[0] = {0x99999999, 4, 1, 10};
  header.extendedLineTypes.resize(jww::kExtendedLineTypeCount);
  header.extendedLineTypes[2].segmentCount = 2;
  header.extendedLineTypes[2].segments = {6, 1.5};
  EXPECT_EQ(DashesOfPenStyle(header, 2), (std::vector<double>{2, 2}));
  EXPECT_EQ(DashesOfPenStyle(header, 32), (std::vector<double>{6, 1.5}));
  header.doubleLines.resize(jww::kDoubleLineCount);
  header.doubleLines[1] = {0xFF00FF00, 16, 1, 20};
  EXPECT_EQ(DashesOfPenStyle(header, 17), (std::vector<double>{16, 16}));
  EXPECT_TRUE(DashesOfPenStyle(header, 1).empty());
}

}  // namespace
