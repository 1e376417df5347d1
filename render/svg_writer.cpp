#include "render/svg_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string_view>
#include <type_traits>
#include <unordered_map>

#include "render/svg_text.h"
#include "render/walk.h"

namespace render {

namespace {

// The thinnest line, for styles of width 0 (ISO's thinnest pen).
constexpr double kThinnestMm = 0.13;
constexpr double kDotRadiusMm = 0.25;
// The share of a Japanese font's cell below its baseline: a text's cell
// bottom is its start point, its baseline this much higher.
constexpr double kDescent = 0.12;
constexpr double kImageNameMm = 2.5;
constexpr int kLayersPerGroup = 16;
constexpr char kHexDigits[] = "0123456789abcdef";
constexpr const char* kFallbackFonts =
    "'MS Gothic', 'Noto Sans CJK JP', 'Noto Sans JP', 'IPAGothic', 'Takao Gothic', sans-serif";

double Degrees(double radians) {
  return radians * 180 / std::numbers::pi;
}

// Paper millimetres (y up) to the document's coordinates (y down).
Point Flip(Point p) {
  return {p.x, -p.y};
}

LayerState GroupState(const DisplayList& list, std::size_t group) {
  return group < list.layerGroups.size() ? list.layerGroups[group].state : LayerState::kEditable;
}

LayerState LayerStateAt(const DisplayList& list, std::size_t key) {
  return key < list.layers.size() ? list.layers[key].state : LayerState::kEditable;
}

std::size_t LayerKey(const Item& item) {
  const std::size_t group = std::min<std::size_t>(item.layerGroup, kLayersPerGroup - 1);
  const std::size_t layer = std::min<std::size_t>(item.layer, kLayersPerGroup - 1);
  return group * kLayersPerGroup + layer;
}

// A font name inside a quoted CSS string: without the quote and backslash
// that would end or escape it.
std::string CssFontName(const std::string& name) {
  std::string clean;
  for (const char c : name) {
    if (c != '\'' && c != '\\' && static_cast<unsigned char>(c) >= 0x20) clean += c;
  }
  return clean;
}

// Collects the document's text and hands it to the stream in large pieces:
// a stream's own operator<< per small piece costs more than the text.
class Sink {
 public:
  explicit Sink(std::ostream& out) : out_(out) { text_.reserve(2 * kPiece); }
  ~Sink() { Flush(); }
  Sink& operator<<(std::string_view s) {
    text_.append(s);
    return *this;
  }
  Sink& operator<<(const char* s) { return *this << std::string_view(s); }
  Sink& operator<<(char c) {
    text_ += c;
    return *this;
  }
  template <class Integer>
  requires std::is_integral_v<Integer> Sink& operator<<(Integer n) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    text_.append(digits, static_cast<std::size_t>(end - digits));
    return *this;
  }
  std::string& text() { return text_; }
  // Passes the text on once a piece has gathered.
  void Pass() {
    if (text_.size() >= kPiece) Flush();
  }
  void Flush() {
    out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
    text_.clear();
  }

 private:
  static constexpr std::size_t kPiece = 1 << 16;
  std::ostream& out_;
  std::string text_;
};

class Writer {
 public:
  Writer(const DisplayList& list, std::ostream& out, const SvgOptions& options)
      : list_(list), out_(out), options_(options) {}

  void Document() {
    Rect box = list_.paper;
    box.Add(list_.bounds);
    if (box.empty()) box = {0, 0, 1, 1};
    const double legendLine = std::max(2.5, (box.top - box.bottom) / 60);
    if (!options_.legend.empty()) box.bottom -= 2 * legendLine;
    Header(box);
    Defs();
    Layers();
    if (!options_.legend.empty()) Legend(box, legendLine);
    out_ << "</svg>\n";
    out_.Flush();
  }

 private:
  void Header(const Rect& box) {
    const double width = box.right - box.left, height = box.top - box.bottom;
    out_ << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" "
            "xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
            "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" version=\"1.1\" "
            "xml:space=\"preserve\" width=\"";
    Number(width);
    out_ << "mm\" height=\"";
    Number(height);
    out_ << "mm\" viewBox=\"";
    Numbers({box.left, -box.top, width, height});
    out_ << "\">\n";
    if (!options_.title.empty()) {
      out_ << "<title>";
      AppendXmlText(out_.text(), options_.title);
      out_ << "</title>\n";
    }
    Styles();
    out_ << "<rect class=\"jww-background\" x=\"";
    Number(box.left);
    out_ << "\" y=\"";
    Number(-box.top);
    out_ << "\" width=\"";
    Number(width);
    out_ << "\" height=\"";
    Number(height);
    out_ << "\" fill=\"#ffffff\"/>\n";
  }

  // A class per style (width and dashes; colours are written on each
  // element, greyed or marked as the element is) and per font.
  void Styles() {
    out_ << "<style>\n";
    for (std::size_t i = 0; i < list_.styles.size(); ++i) {
      const Style& style = list_.styles[i];
      out_ << ".s" << i << "{fill:none;stroke-width:";
      Number(style.widthMm > 0 ? style.widthMm : kThinnestMm);
      if (!style.dashes.empty()) {
        out_ << ";stroke-dasharray:";
        for (std::size_t d = 0; d < style.dashes.size(); ++d) {
          if (d > 0) out_ << ',';
          Number(std::max(0.0, style.dashes[d]));
        }
      }
      out_ << "}\n";
    }
    std::unordered_map<std::string_view, std::uint32_t> fonts;
    std::vector<std::string_view> names;
    fontOf_.reserve(list_.texts.size());
    for (const TextShape& text : list_.texts) {
      const auto [at, added] = fonts.try_emplace(text.fontName, names.size());
      if (added) names.push_back(text.fontName);
      fontOf_.push_back(at->second);
    }
    for (std::size_t index = 0; index < names.size(); ++index) {
      const std::string_view name = names[index];
      out_ << ".t" << index << "{font-family:";
      const std::string clean = CssFontName(std::string(name));
      if (!clean.empty()) {
        out_ << '\'';
        AppendXmlText(out_.text(), clean);
        out_ << "', ";
      }
      AppendXmlText(out_.text(), kFallbackFonts);
      out_ << "}\n";
    }
    out_ << ".jww-legend,.jww-image-name{font-family:";
    AppendXmlText(out_.text(), kFallbackFonts);
    out_ << "}\n</style>\n";
  }

  // Every definition as a symbol; those used from shown-only layers once more
  // in grey.
  void Defs() {
    if (list_.symbols.empty()) return;
    out_ << "<defs>\n";
    for (std::size_t i = 0; i < list_.symbols.size(); ++i) Symbol(i, false);
    const std::vector<bool> greyed = SymbolsUsedGreyed();
    for (std::size_t i = 0; i < list_.symbols.size(); ++i) {
      if (greyed[i]) Symbol(i, true);
    }
    out_ << "</defs>\n";
  }

  std::vector<bool> SymbolsUsedGreyed() const {
    std::vector<bool> used(list_.symbols.size(), false);
    std::vector<std::size_t> toVisit;
    const auto visit = [&](const Item& item) {
      for (const Part& part : list_.PartsOf(item)) {
        if (part.shape != ShapeKind::kUse) continue;
        const std::size_t symbol = list_.uses[part.index].symbol;
        if (symbol < used.size() && !used[symbol]) {
          used[symbol] = true;
          toVisit.push_back(symbol);
        }
      }
    };
    for (const Item& item : list_.items) {
      if (Greyed(LayerKey(item))) visit(item);
    }
    while (!toVisit.empty()) {
      const std::size_t symbol = toVisit.back();
      toVisit.pop_back();
      for (const Item& item : list_.symbols[symbol].items) visit(item);
    }
    return used;
  }

  void Symbol(std::size_t index, bool greyed) {
    const render::Symbol& symbol = list_.symbols[index];
    out_ << "<symbol id=\"";
    SymbolId(index, greyed);
    out_ << "\" class=\"jww-symbol" << (greyed ? " jww-greyed" : "")
         << "\" style=\"overflow:visible\" data-number=\"" << symbol.number << "\"><title>";
    AppendXmlText(out_.text(), symbol.name);
    out_ << "</title>\n";
    for (const Item& item : symbol.items) WriteItem(item, greyed);
    out_ << "</symbol>\n";
  }

  void SymbolId(std::size_t index, bool greyed) { out_ << 'b' << index << (greyed ? "g" : ""); }

  bool Greyed(std::size_t key) const {
    return GroupState(list_, key / kLayersPerGroup) == LayerState::kShownOnly ||
           LayerStateAt(list_, key) == LayerState::kShownOnly;
  }

  // One Inkscape layer per layer group that has items, with one sublayer per
  // layer that has items; items in file order within their layer.
  void Layers() {
    constexpr std::size_t kKeys = kLayersPerGroup * kLayersPerGroup;
    std::vector<std::uint32_t> firstOf(kKeys + 1, 0);
    for (const Item& item : list_.items) ++firstOf[LayerKey(item) + 1];
    for (std::size_t k = 0; k < kKeys; ++k) firstOf[k + 1] += firstOf[k];
    std::vector<std::uint32_t> order(list_.items.size());
    std::vector<std::uint32_t> next(firstOf.begin(), firstOf.end() - 1);
    for (std::uint32_t i = 0; i < list_.items.size(); ++i)
      order[next[LayerKey(list_.items[i])]++] = i;

    for (std::size_t group = 0; group < kLayersPerGroup; ++group) {
      const std::size_t firstKey = group * kLayersPerGroup;
      if (firstOf[firstKey] == firstOf[firstKey + kLayersPerGroup]) continue;
      LayerOpen(group < list_.layerGroups.size() ? &list_.layerGroups[group] : nullptr,
                GroupState(list_, group), false, "jww-group-", group, nullptr);
      for (std::size_t key = firstKey; key < firstKey + kLayersPerGroup; ++key) {
        if (firstOf[key] == firstOf[key + 1]) continue;
        const bool greyed = Greyed(key);
        LayerOpen(key < list_.layers.size() ? &list_.layers[key] : nullptr,
                  LayerStateAt(list_, key), greyed, "jww-layer-", group, &key);
        for (std::uint32_t at = firstOf[key]; at < firstOf[key + 1]; ++at) {
          WriteItem(list_.items[order[at]], greyed);
        }
        out_ << "</g>\n";
      }
      out_ << "</g>\n";
    }
  }

  void LayerOpen(const Layer* layer, LayerState state, bool greyed, const char* idPrefix,
                 std::size_t group, const std::size_t* key) {
    out_ << "<g inkscape:groupmode=\"layer\" id=\"" << idPrefix << kHexDigits[group];
    if (key) out_ << '-' << kHexDigits[*key % kLayersPerGroup];
    out_ << "\" inkscape:label=\"";
    if (layer && !layer->name.empty()) {
      AppendXmlText(out_.text(), layer->name);
    } else {
      out_ << kHexDigits[group];
      if (key) out_ << '-' << kHexDigits[*key % kLayersPerGroup];
    }
    out_ << '"';
    if (state == LayerState::kHidden) out_ << " style=\"display:none\"";
    if (greyed) out_ << " class=\"jww-shown-only\"";
    out_ << ">\n";
  }

  // An item of one part is that part's element with the item's class; an
  // item of several parts (and an image: its frame and name) a group.
  void WriteItem(const Item& item, bool greyed) {
    out_.Pass();
    const char* kind = ItemClass(item.kind);
    const std::span<const Part> parts = list_.PartsOf(item);
    if (parts.size() == 1 && parts[0].shape != ShapeKind::kImage) {
      WritePart(parts[0], kind, greyed);
      return;
    }
    out_ << "<g class=\"" << kind << "\">";
    for (const Part& part : parts) WritePart(part, nullptr, greyed);
    out_ << "</g>\n";
  }

  void WritePart(const Part& part, const char* kind, bool greyed) {
    static const Style kNoStyle;
    const Style& style = part.style < list_.styles.size() ? list_.styles[part.style] : kNoStyle;
    const Rgb colour = greyed ? kGreyedColour : style.colour;
    switch (part.shape) {
      case ShapeKind::kLine:
        LineElement(list_.lines[part.index], kind, part.style, colour);
        break;
      case ShapeKind::kArc:
        ArcElement(list_.arcs[part.index], kind, part.style, colour);
        break;
      case ShapeKind::kPoint:
        DotElement(list_.points[part.index], kind, style, colour);
        break;
      case ShapeKind::kText:
        TextElement(list_.texts[part.index], fontOf_[part.index], kind, colour);
        break;
      case ShapeKind::kFill:
        FillElement(list_.fills[part.index], kind, colour);
        break;
      case ShapeKind::kUse:
        UseElement(list_.uses[part.index], kind, greyed);
        break;
      case ShapeKind::kImage:
        ImageElements(list_.images[part.index], part.style, colour);
        break;
    }
    out_ << '\n';
  }

  void Stroked(const char* element, const char* kind, std::uint32_t style, Rgb colour) {
    out_ << '<' << element << " class=\"";
    if (kind) out_ << kind << ' ';
    out_ << 's' << style << "\" stroke=\"";
    Colour(colour);
    out_ << '"';
  }

  void Filled(const char* element, const char* kind, Rgb colour) {
    out_ << '<' << element;
    if (kind) out_ << " class=\"" << kind << '"';
    out_ << " fill=\"";
    Colour(colour);
    out_ << '"';
  }

  void LineElement(const LineShape& line, const char* kind, std::uint32_t style, Rgb colour) {
    Stroked("line", kind, style, colour);
    const Point a = Flip(line.a), b = Flip(line.b);
    Attribute("x1", a.x);
    Attribute("y1", a.y);
    Attribute("x2", b.x);
    Attribute("y2", b.y);
    out_ << "/>";
  }

  void ArcElement(const ArcShape& arc, const char* kind, std::uint32_t style, Rgb colour) {
    const double radius = std::abs(arc.radius), across = std::abs(arc.radius * arc.flatness);
    const Point centre = Flip(arc.centre);
    if (arc.fullCircle && radius == across) {
      Stroked("circle", kind, style, colour);
      Attribute("cx", centre.x);
      Attribute("cy", centre.y);
      Attribute("r", radius);
      out_ << "/>";
      return;
    }
    if (arc.fullCircle) {
      Stroked("ellipse", kind, style, colour);
      Attribute("cx", centre.x);
      Attribute("cy", centre.y);
      Attribute("rx", radius);
      Attribute("ry", across);
      out_ << " transform=\"rotate(";
      Numbers({-Degrees(arc.tilt), centre.x, centre.y});
      out_ << ")\"/>";
      return;
    }
    // Two halves, so that no half is more than half a turn and its end
    // never meets its start.
    const auto at = [&](double t) {
      const double u = arc.radius * std::cos(t), v = arc.radius * arc.flatness * std::sin(t);
      const double cosT = std::cos(arc.tilt), sinT = std::sin(arc.tilt);
      return Flip({arc.centre.x + cosT * u - sinT * v, arc.centre.y + sinT * u + cosT * v});
    };
    // Counter-clockwise on the paper is clockwise in the document's y-down
    // frame unless the flatness turns the ellipse over.
    const bool counterClockwise = (arc.span >= 0) == (arc.radius * arc.flatness >= 0);
    const char* sweep = counterClockwise ? " 0 0 " : " 0 1 ";
    Stroked("path", kind, style, colour);
    out_ << " d=\"M";
    const Point from = at(arc.start), middle = at(arc.start + arc.span / 2),
                to = at(arc.start + arc.span);
    Numbers({from.x, from.y});
    for (const Point& end : {middle, to}) {
      out_ << 'A';
      Numbers({radius, across, -Degrees(arc.tilt)});
      out_ << sweep;
      Numbers({end.x, end.y});
    }
    out_ << "\"/>";
  }

  void DotElement(const PointShape& point, const char* kind, const Style& style, Rgb colour) {
    Filled("circle", kind, colour);
    const Point at = Flip(point.at);
    Attribute("cx", at.x);
    Attribute("cy", at.y);
    Attribute("r", std::max(kDotRadiusMm, style.widthMm / 2));
    out_ << "/>";
  }

  void FillElement(const FillShape& fill, const char* kind, Rgb colour) {
    Filled("polygon", kind, colour);
    PointsAttribute(fill.points);
    out_ << "/>";
  }

  void UseElement(const UseShape& use, const char* kind, bool greyed) {
    if (use.symbol >= list_.symbols.size()) {
      out_ << "<g class=\"" << (kind ? kind : "") << "\"/>";
      return;
    }
    out_ << "<use";
    if (kind) out_ << " class=\"" << kind << '"';
    out_ << " xlink:href=\"#";
    SymbolId(use.symbol, greyed);
    // The use's transform seen from the y-down frame: flip, map, flip back.
    const Affine to = Affine::Of(use);
    out_ << "\" transform=\"matrix(";
    Numbers({to.a, -to.b, -to.c, to.d, to.e, -to.f});
    out_ << ")\"/>";
  }

  // A text whose characters stand in their cells: the font's full-width
  // advance (one em) scaled to the cell width, each character at its cell's
  // offset along the baseline, turned by the text's angle.
  void TextElement(const TextShape& text, std::uint32_t font, const char* kind, Rgb colour) {
    const bool marked = options_.mark && text.newType != 0;
    double stretch = 1;
    for (const Glyph& glyph : text.glyphs) {
      if (glyph.width <= 0 || text.height <= 0) continue;
      stretch = (glyph.halfWidth ? 2 * glyph.width : glyph.width) / text.height;
      break;
    }
    out_ << "<text class=\"";
    if (kind) out_ << kind << ' ';
    if (marked) out_ << "jww-retype ";
    out_ << 't' << font << '"';
    if (marked) out_ << " data-new-type=\"" << text.newType << '"';
    out_ << " fill=\"";
    Colour(marked ? kMarkColour : colour);
    out_ << '"';
    Attribute("font-size", text.height);
    const double cosA = std::cos(text.angle), sinA = std::sin(text.angle);
    out_ << " transform=\"matrix(";
    Numbers({stretch * cosA, -stretch * sinA, sinA, cosA, text.start.x, -text.start.y});
    out_ << ")\" x=\"";
    if (text.glyphs.empty()) out_ << '0';
    for (std::size_t i = 0; i < text.glyphs.size(); ++i) {
      if (i > 0) out_ << ' ';
      Number(text.glyphs[i].offset / stretch);
    }
    out_ << '"';
    Attribute("y", -kDescent * text.height);
    out_ << '>';
    if (text.glyphs.empty()) AppendXmlText(out_.text(), text.utf8);
    for (const Glyph& glyph : text.glyphs) AppendXmlCharacter(out_.text(), glyph.utf8);
    out_ << "</text>";
  }

  // The frame, and the image's name along its bottom edge.
  void ImageElements(const ImageShape& image, std::uint32_t style, Rgb colour) {
    Stroked("polygon", nullptr, style, colour);
    PointsAttribute(image.corners);
    out_ << "/>";
    if (image.name.empty()) return;
    const Point corner = image.corners[0];
    const double angle = std::atan2(image.corners[1].y - corner.y, image.corners[1].x - corner.x);
    Filled("text", "jww-image-name", colour);
    Attribute("font-size", kImageNameMm);
    out_ << " transform=\"matrix(";
    Numbers(
        {std::cos(angle), -std::sin(angle), std::sin(angle), std::cos(angle), corner.x, -corner.y});
    out_ << ")\"";
    Attribute("x", kImageNameMm / 2);
    Attribute("y", -kImageNameMm / 2);
    out_ << '>';
    AppendXmlText(out_.text(), image.name);
    out_ << "</text>";
  }

  // The caller's legend, in the marking colour under the drawing.
  void Legend(const Rect& box, double line) {
    out_ << "<g class=\"jww-legend\">";
    Filled("text", nullptr, kMarkColour);
    Attribute("font-size", line);
    Attribute("x", box.left + line);
    Attribute("y", -box.bottom - 0.7 * line);
    out_ << '>';
    AppendXmlText(out_.text(), options_.legend);
    out_ << "</text></g>\n";
  }

  template <std::size_t N>
  void PointsAttribute(const std::array<Point, N>& points) {
    PointsAttribute(std::span<const Point>(points));
  }
  void PointsAttribute(std::span<const Point> points) {
    out_ << " points=\"";
    for (std::size_t i = 0; i < points.size(); ++i) {
      if (i > 0) out_ << ' ';
      Numbers({points[i].x, -points[i].y});
    }
    out_ << '"';
  }

  void Attribute(const char* name, double value) {
    out_ << ' ' << name << "=\"";
    Number(value);
    out_ << '"';
  }

  void Numbers(std::initializer_list<double> values) {
    bool first = true;
    for (const double value : values) {
      if (!first) out_ << ' ';
      Number(value);
      first = false;
    }
  }

  void Number(double value) { AppendNumber(out_.text(), value); }

  void Colour(Rgb c) {
    const char text[7] = {'#',
                          kHexDigits[c.r >> 4],
                          kHexDigits[c.r & 15],
                          kHexDigits[c.g >> 4],
                          kHexDigits[c.g & 15],
                          kHexDigits[c.b >> 4],
                          kHexDigits[c.b & 15]};
    out_ << std::string_view(text, sizeof text);
  }

  const DisplayList& list_;
  Sink out_;
  const SvgOptions& options_;
  std::vector<std::uint32_t> fontOf_;  // each text's font class
};

}  // namespace

void WriteSvg(const DisplayList& list, std::ostream& out, const SvgOptions& options) {
  Writer(list, out, options).Document();
}

}  // namespace render
