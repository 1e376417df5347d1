#include "app/qt/preview_painter.h"

#include <QFontMetricsF>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/message_texts.h"
#include "app/qt/qt_text.h"

namespace unit1 {

namespace {

// Lines drawn at once: fewer calls into the painter, still little memory.
constexpr std::size_t kLineBatch = 4096;
// Below this size (pixels) lines and arcs are left out, texts drawn as a
// stroke along their middle.
constexpr double kTinyPixels = 0.25;
constexpr double kSmallestGlyph = 3.0;
// The width of the band under a retyped text too small to read.
constexpr double kSmallMarkPixels = 5.0;
// Drawings of more parts are painted without antialiasing.
constexpr std::size_t kAntialiasedParts = 50'000;
// A glyph drawn without stretching when its cell is this close to its
// natural width.
constexpr double kStretchTolerance = 0.04;
// The size fonts are measured at; their shares scale with the size drawn.
constexpr int kMeasureSize = 100;
// Fonts tried after the one the drawing names, so Japanese texts always
// find their glyphs.
const char* const kJapaneseFallbacks[] = {"VL Gothic", "VL PGothic", "Noto Sans CJK JP",
                                          "IPAGothic", "Noto Sans Mono CJK JP"};

// The pen of the strokes that stand for retyped texts too small to read.
const render::Style kMarkStyle{render::kMarkColour, 0, {}};

QColor ColourOf(render::Rgb rgb) {
  return QColor(rgb.r, rgb.g, rgb.b);
}

QColor PartColour(const render::Style& style, bool greyed) {
  return ColourOf(greyed ? render::kGreyedColour : style.colour);
}

QTransform QtTransform(const render::Affine& m) {
  return {m.a, m.b, m.c, m.d, m.e, m.f};
}

QPointF Map(const render::Affine& m, render::Point p) {
  return {m.a * p.x + m.c * p.y + m.e, m.b * p.x + m.d * p.y + m.f};
}

// The largest stretch of the transform: how long a unit may become.
double MostStretch(const render::Affine& m) {
  return std::sqrt(std::max(m.a * m.a + m.b * m.b, m.c * m.c + m.d * m.d));
}

QRectF BoxOf(const QPointF* points, std::size_t count) {
  double left = points[0].x(), right = left, top = points[0].y(), bottom = top;
  for (std::size_t i = 1; i < count; ++i) {
    left = std::min(left, points[i].x());
    right = std::max(right, points[i].x());
    top = std::min(top, points[i].y());
    bottom = std::max(bottom, points[i].y());
  }
  return QRectF(QPointF(left, top), QPointF(right, bottom));
}

}  // namespace

// A font as the drawing names it, with the Japanese fallbacks; its shares
// of the size measured once.
struct QtPartPainter::FontFace {
  explicit FontFace(const std::string& name) {
    QStringList families;
    if (!name.empty()) families << FromUtf8(name);
    for (const char* fallback : kJapaneseFallbacks) families << QString::fromLatin1(fallback);
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kMeasureSize);
    const QFontMetricsF metrics(font);
    ascent = metrics.ascent() / kMeasureSize;
    descent = metrics.descent() / kMeasureSize;
  }
  // The advance of `glyph` as a share of the font's size.
  double Advance(const QString& glyph) {
    auto found = advances.constFind(glyph);
    if (found != advances.constEnd()) return *found;
    const double advance = QFontMetricsF(font).horizontalAdvance(glyph) / kMeasureSize;
    advances.insert(glyph, advance);
    return advance;
  }
  QFont At(int pixelSize) const {
    QFont sized = font;
    sized.setPixelSize(std::max(1, pixelSize));
    return sized;
  }

  QFont font;
  double ascent = 0.88, descent = 0.12;
  QHash<QString, double> advances;
};

QtPartPainter::QtPartPainter(QPainter& painter, const PreviewView& view, QRectF area,
                             std::function<bool()> keepGoing)
    : painter_(painter),
      view_{view.scale(), 0, 0, -view.scale(), view.Transform().dx(), view.Transform().dy()},
      scale_(view.scale()),
      area_(area),
      keepGoing_(std::move(keepGoing)) {
  lines_.reserve(kLineBatch);
}

QtPartPainter::~QtPartPainter() {
  Flush();
}

render::Affine QtPartPainter::ToPixels(const render::Affine& to) const {
  return view_.After(to);
}

bool QtPartPainter::KeepGoing() {
  return !keepGoing_ || keepGoing_();
}

void QtPartPainter::Flush() {
  if (lines_.empty()) return;
  painter_.drawLines(lines_.data(), static_cast<int>(lines_.size()));
  lines_.clear();
}

bool QtPartPainter::Outside(const QRectF& box) const {
  return box.left() > area_.right() || box.right() < area_.left() || box.top() > area_.bottom() ||
         box.bottom() < area_.top();
}

// The pen of a style: widths and dashes are paper millimetres; a width
// under a pixel is the thinnest line; dashes too small to see are solid.
void QtPartPainter::UsePen(const render::Style& style, bool greyed) {
  if (penStyle_ == &style && penGreyed_ == greyed) return;
  Flush();
  penStyle_ = &style;
  penGreyed_ = greyed;
  const double width = style.widthMm * scale_;
  QPen pen(PartColour(style, greyed), width < 1 ? 0 : width, Qt::SolidLine,
           width < 2 ? Qt::FlatCap : Qt::RoundCap, Qt::RoundJoin);
  double period = 0;
  for (double dash : style.dashes) period += dash * scale_;
  if (period >= 3) {
    const double unit = std::max(width, 1.0);
    QList<qreal> pattern;
    for (double dash : style.dashes) pattern << std::max(dash * scale_ / unit, 0.5);
    if (pattern.size() % 2 != 0) pattern << pattern;
    pen.setDashPattern(pattern);
  }
  painter_.setPen(pen);
  painter_.setBrush(Qt::NoBrush);
}

void QtPartPainter::Line(const render::LineShape& line, const render::Style& style,
                         const render::Affine& to, bool greyed) {
  const render::Affine m = ToPixels(to);
  const QPointF ends[] = {Map(m, line.a), Map(m, line.b)};
  const QRectF box = BoxOf(ends, 2);
  if (Outside(box) || (box.width() < kTinyPixels && box.height() < kTinyPixels)) return;
  UsePen(style, greyed);
  lines_.emplace_back(ends[0], ends[1]);
  if (lines_.size() == kLineBatch) Flush();
}

// An ellipse arc as a polyline fine enough that no chord strays a quarter
// pixel from the curve.
void QtPartPainter::Arc(const render::ArcShape& arc, const render::Style& style,
                        const render::Affine& to, bool greyed) {
  const render::Affine m = ToPixels(to);
  const double reach = arc.radius * std::max(1.0, std::abs(arc.flatness)) * MostStretch(m);
  const QPointF centre = Map(m, arc.centre);
  const QRectF box(centre.x() - reach, centre.y() - reach, 2 * reach, 2 * reach);
  if (Outside(box) || reach < kTinyPixels) return;
  UsePen(style, greyed);
  Flush();
  const double span = arc.fullCircle ? 2 * std::numbers::pi : arc.span;
  const double step = 2 * std::sqrt(0.25 / std::max(reach, 0.25));
  const int segments = std::clamp(static_cast<int>(std::ceil(std::abs(span) / step)), 2, 4000);
  const double cosT = std::cos(arc.tilt), sinT = std::sin(arc.tilt);
  QPolygonF points;
  points.reserve(segments + 1);
  for (int i = 0; i <= segments; ++i) {
    const double angle = arc.start + span * i / segments;
    const double u = arc.radius * std::cos(angle), v = arc.radius * arc.flatness * std::sin(angle);
    points << Map(m, {arc.centre.x + u * cosT - v * sinT, arc.centre.y + u * sinT + v * cosT});
  }
  painter_.drawPolyline(points);
}

void QtPartPainter::Dot(const render::PointShape& point, const render::Style& style,
                        const render::Affine& to, bool greyed) {
  const QPointF at = Map(ToPixels(to), point.at);
  const QRectF box(at.x() - 1.5, at.y() - 1.5, 3, 3);
  if (Outside(box)) return;
  Flush();
  painter_.fillRect(box, PartColour(style, greyed));
}

void QtPartPainter::Fill(const render::FillShape& fill, const render::Style& style,
                         const render::Affine& to, bool greyed) {
  if (fill.points.size() < 3) return;
  const render::Affine m = ToPixels(to);
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(fill.points.size()));
  for (render::Point p : fill.points) polygon << Map(m, p);
  if (Outside(polygon.boundingRect())) return;
  Flush();
  const QColor colour = PartColour(style, greyed);
  painter_.save();
  painter_.setPen(QPen(colour, 0));  // no hairline gaps between neighbouring fills
  painter_.setBrush(colour);
  painter_.drawPolygon(polygon);
  painter_.restore();
}

void QtPartPainter::Image(const render::ImageShape& image, const render::Style& style,
                          const render::Affine& to, bool greyed) {
  const render::Affine m = ToPixels(to);
  QPolygonF frame;
  for (render::Point corner : image.corners) frame << Map(m, corner);
  const QRectF box = frame.boundingRect();
  if (Outside(box)) return;
  UsePen(style, greyed);
  Flush();
  painter_.drawPolygon(frame);
  // The name in the window's own size, when the frame has room for it.
  if (image.name.empty() || box.width() < 24 || box.height() < 14) return;
  painter_.save();
  QFont font = Face({}).At(11);
  painter_.setFont(font);
  painter_.setPen(PartColour(style, greyed));
  painter_.setClipRect(box.adjusted(2, 2, -2, -2), Qt::IntersectClip);
  painter_.drawText(box.adjusted(3, 2, -3, -2), Qt::AlignCenter | Qt::TextWrapAnywhere,
                    FromUtf8(image.name));
  painter_.restore();
}

QtPartPainter::FontFace& QtPartPainter::Face(const std::string& name) {
  std::unique_ptr<FontFace>& face = faces_[name];
  if (!face) face = std::make_unique<FontFace>(name);
  return *face;
}

// A text: each character in its cell, the cell's height from the text and
// its width from the glyph, rotated with the text. Texts a conversion would
// retype lie on a pale band of the marking colour and carry their new type.
void QtPartPainter::Text(const render::TextShape& text, const render::Style& style,
                         const render::Affine& to, bool greyed) {
  if (text.glyphs.empty()) return;
  const QTransform toPixels =
      QTransform(std::cos(text.angle), std::sin(text.angle), -std::sin(text.angle),
                 std::cos(text.angle), text.start.x, text.start.y) *
      QtTransform(ToPixels(to));
  double length = 0;
  for (const render::Glyph& glyph : text.glyphs) {
    length = std::max(length, glyph.offset + glyph.width);
  }
  const QPolygonF cell = toPixels.map(QPolygonF(QRectF(0, 0, length, text.height)));
  if (Outside(cell.boundingRect())) return;
  const double pixelHeight = text.height * std::hypot(toPixels.m21(), toPixels.m22());
  const bool marked = text.newType != 0;
  if (pixelHeight < kSmallestGlyph) {
    // Too small to read: a stroke along the text where it stands, on a
    // band wide enough to see when the text is retyped.
    if (marked) {
      Flush();
      QColor band = ColourOf(render::kMarkColour);
      band.setAlpha(96);
      painter_.setPen(QPen(band, kSmallMarkPixels, Qt::SolidLine, Qt::RoundCap));
      painter_.drawLine(toPixels.map(QPointF(0, text.height / 2)),
                        toPixels.map(QPointF(length, text.height / 2)));
      penStyle_ = nullptr;
    }
    UsePen(marked ? kMarkStyle : style, greyed && !marked);
    lines_.emplace_back(toPixels.map(QPointF(0, text.height / 2)),
                        toPixels.map(QPointF(length, text.height / 2)));
    if (lines_.size() == kLineBatch) Flush();
    return;
  }
  Flush();
  const QColor colour = marked ? ColourOf(render::kMarkColour) : PartColour(style, greyed);
  if (marked) {
    QColor band = colour;
    band.setAlpha(48);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(band);
    painter_.drawPolygon(cell);
  }
  Glyphs(text, toPixels, pixelHeight, colour);
  if (marked) MarkTag(text, toPixels, pixelHeight);
  penStyle_ = nullptr;
}

void QtPartPainter::Glyphs(const render::TextShape& text, const QTransform& toPixels,
                           double pixelHeight, const QColor& colour) {
  FontFace& face = Face(text.fontName);
  const double lineShare = face.ascent + face.descent;
  const int size = static_cast<int>(std::lround(pixelHeight / lineShare));
  painter_.setFont(face.At(size));
  painter_.setPen(colour);
  // Millimetres of the text per pixel of the font, across the baseline.
  const double down = text.height / (lineShare * std::max(size, 1));
  // Upright, unmirrored and unsheared: characters placed in pixels, which
  // keeps the glyph cache of the painter.
  const bool upright = std::abs(toPixels.m12()) < 1e-9 && std::abs(toPixels.m21()) < 1e-9 &&
                       toPixels.m11() > 0 && toPixels.m22() < 0;
  for (const render::Glyph& glyph : text.glyphs) {
    const QString character = FromUtf8(glyph.utf8);
    const double natural = (glyph.halfWidth ? 0.5 : 1.0) * size;
    const double advance = face.Advance(character) * size;
    const double across = glyph.width / std::max(natural, 1e-9);  // mm per pixel along
    const double left = glyph.offset + across * (natural - advance) / 2;
    const double cellWidth = glyph.width * toPixels.m11();
    if (upright && std::abs(cellWidth - natural) <= kStretchTolerance * natural) {
      const QPointF at = toPixels.map(QPointF(left, down * face.descent * size));
      painter_.drawText(at, character);
      continue;
    }
    painter_.setTransform(QTransform(across, 0, 0, -down, left, down * face.descent * size) *
                          toPixels);
    painter_.drawText(QPointF(0, 0), character);
    painter_.resetTransform();
  }
}

// "→N" after the end of a retyped text, upright, a little smaller than it.
void QtPartPainter::MarkTag(const render::TextShape& text, const QTransform& toPixels,
                            double pixelHeight) {
  double length = 0;
  for (const render::Glyph& glyph : text.glyphs) {
    length = std::max(length, glyph.offset + glyph.width);
  }
  const QPointF end = toPixels.map(QPointF(length, 0));
  const int size = std::max(11, static_cast<int>(std::lround(pixelHeight * 0.8)));
  QFont font = Face({}).At(size);
  font.setBold(true);
  painter_.setFont(font);
  painter_.setPen(ColourOf(render::kMarkColour));
  painter_.drawText(end + QPointF(size * 0.2, 0), FromUtf8(texts::RetypeTag(text.newType)));
}

bool PaintDisplayList(const render::DisplayList& list, QPainter& painter, const PreviewView& view,
                      QRectF area, const std::function<bool()>& keepGoing) {
  // Antialiased edges cost most of the paint of a huge drawing, where
  // hardly a line stands apart from its neighbours.
  painter.setRenderHint(QPainter::Antialiasing, list.parts.size() < kAntialiasedParts);
  painter.setRenderHint(QPainter::TextAntialiasing);
  bool stopped = false;
  {
    QtPartPainter parts(painter, view, area, [&] {
      if (keepGoing && !keepGoing()) stopped = true;
      return !stopped;
    });
    render::Walk(list, parts);
  }
  return !stopped;
}

}  // namespace unit1
