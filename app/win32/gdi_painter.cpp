#include "app/win32/gdi_painter.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <numbers>

#include "app/message_texts.h"
#include "app/win32/screen_scale.h"
#include "app/win32/wide_text.h"

namespace win32 {

namespace {

constexpr int kSub = 16;  // GDI units per pixel
constexpr double kPi = std::numbers::pi;
// Shapes reaching further than this many pixels out of the picture are cut
// at its edges first: GDI's coordinates would overflow.
constexpr double kFar = 100000;
// Texts lower than this many pixels are drawn as a stroke along their middle.
constexpr double kSmallestText = 2.5;
constexpr std::size_t kBatch = 4096;

COLORREF ColourOf(const render::Style& style, bool greyed) {
  const render::Rgb c = greyed ? render::kGreyedColour : style.colour;
  return RGB(c.r, c.g, c.b);
}

LONG Sub(double pixel) {
  return static_cast<LONG>(std::lround(pixel * kSub));
}

struct Box {
  double left = 0, top = 0, right = 0, bottom = 0;
  bool Misses(const Box& other) const {
    return right < other.left || left > other.right || bottom < other.top || top > other.bottom;
  }
  bool Within(const Box& other) const {
    return left >= other.left && right <= other.right && top >= other.top && bottom <= other.bottom;
  }
};

template <typename Points>
Box BoxOf(const Points& points) {
  Box box{points[0].x, points[0].y, points[0].x, points[0].y};
  for (const auto& p : points) {
    box.left = std::min(box.left, p.x);
    box.right = std::max(box.right, p.x);
    box.top = std::min(box.top, p.y);
    box.bottom = std::max(box.bottom, p.y);
  }
  return box;
}

// Cuts the segment to `box` (Liang and Barsky); false when nothing is left.
template <typename Pixel>
bool ClipSegment(Pixel& a, Pixel& b, const Box& box) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - box.left, box.right - a.x, a.y - box.top, box.bottom - a.y};
  double t0 = 0, t1 = 1;
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  const Pixel start = a;
  a = {start.x + t0 * dx, start.y + t0 * dy};
  b = {start.x + t1 * dx, start.y + t1 * dy};
  return true;
}

// Cuts the polygon to `box` (Sutherland and Hodgman).
template <typename Pixel>
std::vector<Pixel> ClipPolygon(std::vector<Pixel> points, const Box& box) {
  auto cut = [&points](auto inside, auto cross) {
    std::vector<Pixel> kept;
    for (std::size_t i = 0; i < points.size(); ++i) {
      const Pixel& a = points[i];
      const Pixel& b = points[(i + 1) % points.size()];
      if (inside(a)) kept.push_back(a);
      if (inside(a) != inside(b)) kept.push_back(cross(a, b));
    }
    points.swap(kept);
  };
  auto atX = [](double x) {
    return [x](const Pixel& a, const Pixel& b) {
      return Pixel{x, a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x)};
    };
  };
  auto atY = [](double y) {
    return [y](const Pixel& a, const Pixel& b) {
      return Pixel{a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y), y};
    };
  };
  cut([&](const Pixel& p) { return p.x >= box.left; }, atX(box.left));
  cut([&](const Pixel& p) { return p.x <= box.right; }, atX(box.right));
  cut([&](const Pixel& p) { return p.y >= box.top; }, atY(box.top));
  cut([&](const Pixel& p) { return p.y <= box.bottom; }, atY(box.bottom));
  return points;
}

// The pieces of the stroke through `points` that the pattern (pixels, on
// and off in turn) leaves on, within `seen`, as two-point strokes.
template <typename Pixel>
void Dash(const std::vector<Pixel>& points, bool closed, std::vector<double> pattern,
          const Box& seen, std::vector<POINT>& strokes, std::vector<DWORD>& counts) {
  // An odd pattern is repeated to make pairs of on and off.
  if (pattern.size() % 2 != 0) pattern.insert(pattern.end(), pattern.begin(), pattern.end());
  double period = 0;
  for (double length : pattern) period += length;
  double travelled = 0;  // along the whole stroke, to the segment's start
  const std::size_t segments = points.size() - (closed ? 0 : 1);
  for (std::size_t i = 0; i < segments; ++i) {
    const Pixel a = points[i], b = points[(i + 1) % points.size()];
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    Pixel from = a, to = b;
    if (length > 0 && ClipSegment(from, to, seen)) {
      const auto at = [&](double s) {
        const double t = (s - travelled) / length;
        return Pixel{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
      };
      double s = travelled + std::hypot(from.x - a.x, from.y - a.y);
      const double end = travelled + std::hypot(to.x - a.x, to.y - a.y);
      // Where in the pattern the visible part starts.
      std::size_t k = 0;
      double edge = pattern[0];
      const double inPeriod = std::fmod(s, period);
      while (inPeriod >= edge && k + 1 < pattern.size()) edge += pattern[++k];
      double left = edge - inPeriod;
      while (s < end) {
        const double next = std::min(end, s + left);
        if (k % 2 == 0) {
          const Pixel p = at(s), q = at(next);
          strokes.push_back({Sub(p.x), Sub(p.y)});
          strokes.push_back({Sub(q.x), Sub(q.y)});
          counts.push_back(2);
        }
        s = next;
        k = (k + 1) % pattern.size();
        left = pattern[k];
      }
    }
    travelled += length;
  }
}

}  // namespace

FontCache::~FontCache() {
  for (auto& [key, font] : fonts_) ::DeleteObject(font);
}

const std::wstring& FontCache::Face(const std::string& name) {
  auto found = faces_.find(name);
  if (found != faces_.end()) return found->second;
  std::wstring face = Wide(name);
  if (face.empty() || face.size() >= LF_FACESIZE || !HasFontFace(face.c_str())) {
    // The window's own Japanese gothic stands in for a font the system lacks.
    face = L"ＭＳ ゴシック";
    for (const wchar_t* other : {L"ＭＳ ゴシック", L"MS Gothic", L"Yu Gothic", L"Meiryo"}) {
      if (HasFontFace(other)) {
        face = other;
        break;
      }
    }
  }
  return faces_.emplace(name, std::move(face)).first->second;
}

HFONT FontCache::Get(const std::string& name, int height, int width, int escapement) {
  const std::wstring& face = Face(name);
  const auto key = std::make_tuple(face, height, width, escapement);
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;
  if (fonts_.size() >= 2000) {
    for (auto& [old, font] : fonts_) ::DeleteObject(font);
    fonts_.clear();
  }
  LOGFONTW font{};
  font.lfHeight = -height;
  font.lfWidth = width;
  font.lfEscapement = font.lfOrientation = escapement;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfQuality = ANTIALIASED_QUALITY;
  std::wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  HFONT made = ::CreateFontIndirectW(&font);
  fonts_.emplace(key, made);
  return made;
}

GdiPainter::GdiPainter(HDC dc, const PaperView& view, int width, int height, UINT dpi,
                       FontCache& fonts, std::function<bool()> keepGoing)
    : dc_(dc),
      view_(view),
      width_(width),
      height_(height),
      dpi_(dpi),
      fonts_(fonts),
      keepGoing_(std::move(keepGoing)) {
  savedDc_ = ::SaveDC(dc_);
  ::SetGraphicsMode(dc_, GM_ADVANCED);
  ::SetBkMode(dc_, TRANSPARENT);
  ::SetTextAlign(dc_, TA_BOTTOM | TA_LEFT | TA_NOUPDATECP);
  ::SelectObject(dc_, ::GetStockObject(DC_BRUSH));
  TextMode(false);
}

GdiPainter::~GdiPainter() {
  Flush();
  ::RestoreDC(dc_, savedDc_);
  for (auto& pens : pens_) {
    for (auto& [style, pen] : pens) {
      if (pen != ::GetStockObject(DC_PEN)) ::DeleteObject(pen);
    }
  }
}

GdiPainter::Pixel GdiPainter::ToPixel(const render::Affine& to, render::Point p) const {
  const render::Point on = to.Apply(p);
  return {view_.X(on.x), view_.Y(on.y)};
}

// Shapes are drawn in sixteenths of a pixel; texts in pixels, where the
// fonts' sizes are whole pixels.
void GdiPainter::TextMode(bool on) {
  Flush();
  textMode_ = on;
  const float scale = on ? 1.0F : 1.0F / kSub;
  const XFORM transform{scale, 0, 0, scale, 0, 0};
  ::SetWorldTransform(dc_, &transform);
}

void GdiPainter::UsePen(HPEN pen, COLORREF colour) {
  const bool dcPen = pen == ::GetStockObject(DC_PEN);
  if (pen == pen_ && (!dcPen || colour == penColour_)) return;
  Flush();
  if (pen != pen_) ::SelectObject(dc_, pen);
  if (dcPen) ::SetDCPenColor(dc_, colour);
  pen_ = pen;
  penColour_ = colour;
}

void GdiPainter::Flush() {
  if (!strokeCounts_.empty()) {
    ::PolyPolyline(dc_, strokes_.data(), strokeCounts_.data(),
                   static_cast<DWORD>(strokeCounts_.size()));
  }
  strokes_.clear();
  strokeCounts_.clear();
}

void GdiPainter::Stroke(const render::Style& style, bool greyed, const std::vector<Pixel>& points,
                        bool closed) {
  if (points.size() < 2) return;
  const double widthPx = std::clamp(style.widthMm * view_.scale, 1.0, 64.0);
  const double pad = widthPx + 2;
  const Box seen{-pad, -pad, width_ + pad, height_ + pad};
  const Box box = BoxOf(points);
  if (box.Misses(seen)) return;
  if (textMode_) TextMode(false);

  HPEN& pen = pens_[greyed ? 1 : 0][&style];
  const COLORREF colour = ColourOf(style, greyed);
  if (pen == nullptr) {
    const LONG width = std::lround(widthPx);
    if (width <= 1) {
      pen = static_cast<HPEN>(::GetStockObject(DC_PEN));
    } else {
      const LOGBRUSH brush{BS_SOLID, colour, 0};
      pen = ::ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                           static_cast<DWORD>(width * kSub), &brush, 0, nullptr);
    }
  }
  UsePen(pen, colour);
  auto add = [this](const Pixel& p) { strokes_.push_back({Sub(p.x), Sub(p.y)}); };
  // Dashes are cut here: GDI's own (a pen's user style) are measured in
  // device pixels by some systems and in logical units by others.
  double period = 0;
  for (double mm : style.dashes) period += mm * view_.scale;
  if (period >= 4) {  // a finer pattern looks solid
    std::vector<double> pattern;
    for (double mm : style.dashes) pattern.push_back(std::max(mm * view_.scale, 0.5));
    Dash(points, closed, std::move(pattern), seen, strokes_, strokeCounts_);
  } else if (const Box reachable{-kFar, -kFar, width_ + kFar, height_ + kFar};
             box.Within(reachable)) {
    for (const Pixel& p : points) add(p);
    if (closed) add(points.front());
    strokeCounts_.push_back(static_cast<DWORD>(points.size() + (closed ? 1 : 0)));
  } else {
    const std::size_t segments = points.size() - (closed ? 0 : 1);
    for (std::size_t i = 0; i < segments; ++i) {
      Pixel a = points[i], b = points[(i + 1) % points.size()];
      if (!ClipSegment(a, b, seen)) continue;
      add(a);
      add(b);
      strokeCounts_.push_back(2);
    }
  }
  if (strokes_.size() >= kBatch) Flush();
}

void GdiPainter::Line(const render::LineShape& line, const render::Style& style,
                      const render::Affine& to, bool greyed) {
  scratch_.assign({ToPixel(to, line.a), ToPixel(to, line.b)});
  Stroke(style, greyed, scratch_, false);
}

void GdiPainter::Arc(const render::ArcShape& arc, const render::Style& style,
                     const render::Affine& to, bool greyed) {
  // The arc's size in pixels, at most: the longer of its radii through the
  // longer of the transform's axes.
  const double stretch = std::max(std::hypot(to.a, to.b), std::hypot(to.c, to.d));
  const double radiusPx =
      arc.radius * std::max(1.0, std::abs(arc.flatness)) * stretch * view_.scale;
  if (radiusPx < 0.5) return;
  const Pixel centre = ToPixel(to, arc.centre);
  const Box reach{centre.x - radiusPx, centre.y - radiusPx, centre.x + radiusPx,
                  centre.y + radiusPx};
  if (reach.Misses(Box{-2, -2, width_ + 2.0, height_ + 2.0})) return;
  const double span = arc.fullCircle ? 2 * kPi : arc.span;
  // Chords at most a quarter of a pixel from the curve.
  const double step = radiusPx > 0.25 ? 2 * std::acos(1 - 0.25 / std::max(radiusPx, 0.25)) : kPi;
  const int count = std::clamp(static_cast<int>(std::ceil(std::abs(span) / step)), 2, 2048);
  const double cosT = std::cos(arc.tilt), sinT = std::sin(arc.tilt);
  scratch_.clear();
  for (int i = 0; i <= count; ++i) {
    const double t = arc.start + span * i / count;
    const double x = arc.radius * std::cos(t), y = arc.radius * arc.flatness * std::sin(t);
    scratch_.push_back(
        ToPixel(to, {arc.centre.x + x * cosT - y * sinT, arc.centre.y + x * sinT + y * cosT}));
  }
  Stroke(style, greyed, scratch_, false);
}

void GdiPainter::Dot(const render::PointShape& point, const render::Style& style,
                     const render::Affine& to, bool greyed) {
  const Pixel at = ToPixel(to, point.at);
  const double half = Scale(2, dpi_) / 2.0;
  if (at.x < -half || at.y < -half || at.x > width_ + half || at.y > height_ + half) return;
  if (textMode_) TextMode(false);
  Flush();
  ::SelectObject(dc_, ::GetStockObject(NULL_PEN));
  pen_ = nullptr;
  ::SetDCBrushColor(dc_, ColourOf(style, greyed));
  ::Rectangle(dc_, Sub(at.x - half), Sub(at.y - half), Sub(at.x + half) + 1, Sub(at.y + half) + 1);
}

void GdiPainter::Fill(const render::FillShape& fill, const render::Style& style,
                      const render::Affine& to, bool greyed) {
  if (fill.points.size() < 3) return;
  scratch_.clear();
  for (const render::Point& p : fill.points) scratch_.push_back(ToPixel(to, p));
  const Box seen{-2, -2, width_ + 2.0, height_ + 2.0};
  const Box box = BoxOf(scratch_);
  if (box.Misses(seen)) return;
  if (!box.Within(Box{-kFar, -kFar, width_ + kFar, height_ + kFar})) {
    scratch_ = ClipPolygon(scratch_, seen);
    if (scratch_.size() < 3) return;
  }
  if (textMode_) TextMode(false);
  Flush();
  std::vector<POINT> corners;
  for (const Pixel& p : scratch_) corners.push_back({Sub(p.x), Sub(p.y)});
  ::SelectObject(dc_, ::GetStockObject(NULL_PEN));
  pen_ = nullptr;
  ::SetDCBrushColor(dc_, ColourOf(style, greyed));
  ::Polygon(dc_, corners.data(), static_cast<int>(corners.size()));
}

void GdiPainter::DrawString(const std::wstring& text, const std::vector<INT>& advances, Pixel at,
                            HFONT font, COLORREF colour) {
  if (!textMode_) TextMode(true);
  ::SelectObject(dc_, font);
  ::SetTextColor(dc_, colour);
  ::ExtTextOutW(dc_, static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y)), 0,
                nullptr, text.c_str(), static_cast<UINT>(text.size()),
                advances.empty() ? nullptr : advances.data());
}

namespace {

int Escapement(double radians) {
  int tenths = static_cast<int>(std::lround(radians * 1800 / kPi)) % 3600;
  return tenths < 0 ? tenths + 3600 : tenths;
}

}  // namespace

void GdiPainter::Text(const render::TextShape& text, const render::Style& style,
                      const render::Affine& to, bool greyed) {
  if (text.glyphs.empty() || text.height <= 0) return;
  // Along and up the text, on the paper, after the transform.
  const double cosA = std::cos(text.angle), sinA = std::sin(text.angle);
  const render::Point along{to.a * cosA + to.c * sinA, to.b * cosA + to.d * sinA};
  const render::Point up{-to.a * sinA + to.c * cosA, -to.b * sinA + to.d * cosA};
  const double alongScale = std::hypot(along.x, along.y), upScale = std::hypot(up.x, up.y);
  if (alongScale == 0 || upScale == 0) return;
  const double angle = std::atan2(along.y, along.x);
  const double pxPerMm = alongScale * view_.scale;
  const double heightPx = text.height * upScale * view_.scale;
  const render::Glyph& last = text.glyphs.back();
  const double lengthPx = (last.offset + last.width) * pxPerMm;
  // Along and up in pixels (y down).
  const Pixel u{std::cos(angle), -std::sin(angle)}, v{-std::sin(angle), -std::cos(angle)};
  const Pixel origin = ToPixel(to, text.start);
  const bool marked = text.newType != 0;
  const double labelPx =
      marked ? std::max(heightPx * 0.8, static_cast<double>(Scale(10, dpi_))) : 0;
  // The text's cells and the new type's room.
  const double reach = lengthPx + labelPx * 2.5,
               rise = std::max(heightPx, heightPx * 0.6 + labelPx);
  const std::vector<Pixel> corners{
      origin,
      {origin.x + u.x * reach, origin.y + u.y * reach},
      {origin.x + v.x * rise, origin.y + v.y * rise},
      {origin.x + u.x * reach + v.x * rise, origin.y + u.y * reach + v.y * rise}};
  if (BoxOf(corners).Misses(Box{-2, -2, width_ + 2.0, height_ + 2.0})) return;
  const COLORREF colour =
      marked   ? RGB(render::kMarkColour.r, render::kMarkColour.g, render::kMarkColour.b)
      : greyed ? ColourOf(style, true)
               : ColourOf(style, false);
  if (heightPx < kSmallestText || heightPx > 20000) {
    if (heightPx <= 20000) {
      if (textMode_) TextMode(false);
      UsePen(static_cast<HPEN>(::GetStockObject(DC_PEN)), colour);
      const Pixel mid{origin.x + v.x * heightPx / 2, origin.y + v.y * heightPx / 2};
      strokes_.push_back({Sub(mid.x), Sub(mid.y)});
      strokes_.push_back({Sub(mid.x + u.x * lengthPx), Sub(mid.y + u.y * lengthPx)});
      strokeCounts_.push_back(2);
    }
  } else {
    // Each character in its cell: the font's characters as wide as the
    // text's half-width cells, the advance from one cell to the next.
    const render::Glyph& first = text.glyphs.front();
    const double fullCell = (first.halfWidth ? 2 * first.width : first.width) * pxPerMm;
    HFONT font =
        fonts_.Get(text.fontName, std::max(1, static_cast<int>(std::lround(heightPx))),
                   std::max(1, static_cast<int>(std::lround(fullCell / 2))), Escapement(angle));
    std::wstring chars;
    std::vector<INT> advances;
    const double startPx = first.offset * pxPerMm;
    for (std::size_t i = 0; i < text.glyphs.size(); ++i) {
      const render::Glyph& glyph = text.glyphs[i];
      const double next =
          i + 1 < text.glyphs.size() ? text.glyphs[i + 1].offset : glyph.offset + glyph.width;
      const INT advance = static_cast<INT>(std::lround(next * pxPerMm - startPx) -
                                           std::lround(glyph.offset * pxPerMm - startPx));
      const std::wstring wide = Wide(glyph.utf8);
      for (std::size_t k = 0; k < wide.size(); ++k) {
        chars.push_back(wide[k]);
        advances.push_back(k == 0 ? advance : 0);
      }
    }
    DrawString(chars, advances, {origin.x + u.x * startPx, origin.y + u.y * startPx}, font, colour);
  }
  if (marked) {
    // The new type raised after the text's end, clear of a text that
    // follows on the same line, and at least legible.
    const double along = lengthPx + labelPx * 0.15, raised = heightPx * 0.6;
    HFONT font = fonts_.Get({}, static_cast<int>(std::lround(labelPx)), 0, Escapement(angle));
    DrawString(Wide(texts::RetypeTag(text.newType)), {},
               {origin.x + u.x * along + v.x * raised, origin.y + u.y * along + v.y * raised}, font,
               colour);
  }
}

void GdiPainter::Image(const render::ImageShape& image, const render::Style& style,
                       const render::Affine& to, bool greyed) {
  scratch_.clear();
  for (const render::Point& corner : image.corners) scratch_.push_back(ToPixel(to, corner));
  const std::vector<Pixel> frame = scratch_;
  Stroke(style, greyed, frame, true);
  const Pixel bottomLeft = frame[0], bottomRight = frame[1], topLeft = frame[3];
  const double across = std::hypot(bottomRight.x - bottomLeft.x, bottomRight.y - bottomLeft.y);
  const double upward = std::hypot(topLeft.x - bottomLeft.x, topLeft.y - bottomLeft.y);
  const int namePx = Scale(10, dpi_);
  if (image.name.empty() || across < namePx * 3 || upward < namePx * 1.5) return;
  if (BoxOf(frame).Misses(Box{0, 0, static_cast<double>(width_), static_cast<double>(height_)})) {
    return;
  }
  // The name inside the frame's bottom left corner, along its bottom edge.
  const double angle = std::atan2(bottomLeft.y - bottomRight.y, bottomRight.x - bottomLeft.x);
  const Pixel u{(bottomRight.x - bottomLeft.x) / across, (bottomRight.y - bottomLeft.y) / across};
  const Pixel v{(topLeft.x - bottomLeft.x) / upward, (topLeft.y - bottomLeft.y) / upward};
  const double inset = namePx * 0.4;
  DrawString(Wide(image.name), {},
             {bottomLeft.x + (u.x + v.x) * inset, bottomLeft.y + (u.y + v.y) * inset},
             fonts_.Get({}, namePx, 0, Escapement(angle)), ColourOf(style, greyed));
}

bool GdiPainter::KeepGoing() {
  if (--untilAsk_ > 0 || !keepGoing_) return !stopped_;
  untilAsk_ = kItemsPerAsk;
  stopped_ = !keepGoing_();
  return !stopped_;
}

bool PaintDisplayList(HDC dc, const render::DisplayList& list, const PaperView& view, int width,
                      int height, UINT dpi, FontCache& fonts, std::function<bool()> keepGoing) {
  GdiPainter painter(dc, view, width, height, dpi, fonts, std::move(keepGoing));
  render::Walk(list, painter);
  return !painter.Stopped();
}

}  // namespace win32
