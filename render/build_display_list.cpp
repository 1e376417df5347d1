// BuildDisplayList: the drawing's entity tables in file order turned into
// items, each block definition into one symbol.
//
// Coordinates: Jw_cad stores every coordinate, at the top level and in block
// definitions alike, as millimetres on the paper (a dimension line of a
// 1:100 layer group that reads "16,000" is 160 long), so they are taken as
// they are; a layer group's scale only names the real size they stand for.
// Block contents are drawn through the use's scale and rotation from its
// origin.
#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <vector>

#include "drawing/jww_text.h"
#include "render/arc_geometry.h"
#include "render/display_list.h"
#include "render/layers.h"
#include "render/pen_styles.h"
#include "render/solid_shape.h"
#include "render/symbol_plan.h"
#include "render/text_layout.h"
#include "render/walk.h"

namespace render {

namespace {

// Pen colour 9 and pen style 9 are Jw_cad's auxiliary colour and line type:
// shown on the screen, never printed, so they do not widen the paper's
// picture.
constexpr std::uint16_t kAuxiliaryColour = 9;
constexpr std::uint8_t kAuxiliaryStyle = 9;

bool Printed(const jww::TEntAttr& attr) {
  return attr.penColour != kAuxiliaryColour && attr.penStyle != kAuxiliaryStyle;
}

// What the parts of a list of items cover: the printed ones, and all.
struct Extent {
  Rect printed, all;
  void Add(const Rect& r, bool printed_) {
    // Damaged files may hold coordinates that are no numbers: drawn as
    // whatever the device makes of them, but never stretching the bounds.
    if (!std::isfinite(r.left) || !std::isfinite(r.right) || !std::isfinite(r.bottom) ||
        !std::isfinite(r.top)) {
      return;
    }
    all.Add(r);
    if (printed_) printed.Add(r);
  }
};

constexpr Rect kNoNumber{std::numeric_limits<double>::quiet_NaN(), 0, 0, 0};

// The rectangle around `points`; kNoNumber when one of them is no number.
Rect Around(std::span<const Point> points) {
  Rect r;
  for (const Point& p : points) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return kNoNumber;
    r.Add(p);
  }
  return r;
}
Rect Around(std::initializer_list<Point> points) {
  return Around(std::span<const Point>(points.begin(), points.size()));
}

Rect Transformed(const Rect& r, const Affine& to) {
  if (r.empty()) return r;
  return Around({to.Apply({r.left, r.bottom}), to.Apply({r.right, r.bottom}),
                 to.Apply({r.right, r.top}), to.Apply({r.left, r.top})});
}

Rect TextBox(const TextShape& text) {
  const double c = std::cos(text.angle), s = std::sin(text.angle);
  const double w = TextAdvance(text), h = text.height;
  const Point o = text.start;
  return Around({o,
                 {o.x + c * w, o.y + s * w},
                 {o.x + c * w - s * h, o.y + s * w + c * h},
                 {o.x - s * h, o.y + c * h}});
}

class Builder {
 public:
  Builder(const jww::Drawing& drawing, std::span<const TextMark> marks, const BuildOptions& options,
          DisplayList& out)
      : drawing_(drawing),
        options_(options),
        out_(out),
        styles_(drawing.header, out.styles),
        marks_(marks.begin(), marks.end()) {
    std::sort(marks_.begin(), marks_.end(),
              [](const TextMark& a, const TextMark& b) { return a.place < b.place; });
  }

  void Run() {
    out_.layers = LayersOf(drawing_.header);
    out_.layerGroups = LayerGroupsOf(drawing_.header);
    out_.paper = PaperOf(drawing_.header.paperSize);
    Reserve();
    plan_ = PlanSymbols(drawing_);
    out_.symbols.resize(drawing_.blockDefs.size());
    symbolExtents_.resize(drawing_.blockDefs.size());
    for (std::size_t def : plan_.order) {
      const jww::TEntBlockDef& definition = drawing_.blockDefs[def];
      Symbol& symbol = out_.symbols[def];
      symbol.name = jww::DecodedText(definition.name);
      symbol.number = definition.number;
      symbol.items.reserve(definition.entities.entityCount());
      Extent extent;
      Entities(definition.entities, static_cast<int>(def), symbol.items, extent);
      symbolExtents_[def] = extent;
    }
    Extent extent;
    Entities(drawing_.top, -1, out_.items, extent);
    out_.bounds = extent.printed.empty() ? extent.all : extent.printed;
  }

 private:
  void Reserve() {
    std::size_t lines = 0, arcs = 0, points = 0, texts = 0, solids = 0, uses = 0, dims = 0;
    std::size_t entities = 0;
    auto count = [&](const jww::EntityTables& t) {
      lines += t.lines.size();
      arcs += t.arcs.size();
      points += t.points.size();
      texts += t.texts.size();
      solids += t.solids.size();
      uses += t.blockInserts.size();
      dims += t.dimensions.size();
      entities += t.entityCount();
    };
    count(drawing_.top);
    for (const jww::TEntBlockDef& def : drawing_.blockDefs) count(def.entities);
    out_.lines.reserve(lines + 3 * dims);
    out_.arcs.reserve(arcs);
    out_.points.reserve(points + 4 * dims);
    out_.texts.reserve(texts + dims);
    out_.fills.reserve(solids);
    out_.uses.reserve(uses);
    out_.parts.reserve(entities + 7 * dims);
    out_.items.reserve(drawing_.top.entityCount());
  }

  bool Hidden(const jww::TEntAttr& attr) const {
    const std::size_t group = attr.layerGroup, at = group * jww::kLayerGroupCount + attr.layer;
    return (at < out_.layers.size() && out_.layers[at].state == LayerState::kHidden) ||
           (group < out_.layerGroups.size() &&
            out_.layerGroups[group].state == LayerState::kHidden);
  }

  void Entities(const jww::EntityTables& t, int blockDef, std::vector<Item>& items,
                Extent& extent) {
    const bool topLevel = blockDef < 0;
    for (const jww::TEntRef& ref : t.order) {
      const auto index = static_cast<std::size_t>(ref.index);
      const jww::TEntAttr* attr = nullptr;
      Item item;
      item.firstPart = static_cast<std::uint32_t>(out_.parts.size());
      Rect box;
      switch (ref.kind) {
        case jww::kLine:
          if (index >= t.lines.size()) continue;
          attr = &t.lines[index].attr;
          item.kind = ItemKind::kLine;
          box = Line(t.lines[index]);
          break;
        case jww::kArc:
          if (index >= t.arcs.size()) continue;
          attr = &t.arcs[index].attr;
          item.kind = ItemKind::kArc;
          box = Arc(t.arcs[index]);
          break;
        case jww::kPoint:
          if (index >= t.points.size()) continue;
          if (t.points[index].temporary != 0 && !options_.temporaryPoints) continue;
          attr = &t.points[index].attr;
          item.kind = ItemKind::kPoint;
          box = Dot(t.points[index]);
          break;
        case jww::kText:
          if (index >= t.texts.size()) continue;
          attr = &t.texts[index].attr;
          box = Text(t.texts[index], {blockDef, false, index}, item.kind);
          break;
        case jww::kDimension:
          if (index >= t.dimensions.size()) continue;
          attr = &t.dimensions[index].attr;
          item.kind = ItemKind::kDimension;
          box = Dimension(t.dimensions[index], {blockDef, true, index});
          break;
        case jww::kSolid:
          if (index >= t.solids.size()) continue;
          attr = &t.solids[index].attr;
          item.kind = ItemKind::kSolid;
          box = Solid(t.solids[index]);
          break;
        case jww::kBlockInsert: {
          if (index >= t.blockInserts.size()) continue;
          const bool leftOut = !topLevel && plan_.leftOut[blockDef][index];
          if (leftOut) continue;
          attr = &t.blockInserts[index].attr;
          item.kind = ItemKind::kBlock;
          box = Use(t.blockInserts[index]);
          if (!topLevel && out_.parts.size() == item.firstPart) continue;
          break;
        }
        default:
          continue;
      }
      item.layerGroup = attr->layerGroup;
      item.layer = attr->layer;
      item.partCount = static_cast<std::uint32_t>(out_.parts.size() - item.firstPart);
      items.push_back(item);
      if (!topLevel || !Hidden(*attr))
        extent.Add(box, item.kind == ItemKind::kSolid || Printed(*attr));
    }
  }

  template <class Shape>
  std::uint32_t Put(std::vector<Shape>& table, Shape shape, ShapeKind kind, std::uint32_t style) {
    const auto index = static_cast<std::uint32_t>(table.size());
    table.push_back(std::move(shape));
    out_.parts.push_back({kind, style, index});
    return index;
  }

  Rect Line(const jww::TEntSen& line) {
    const LineShape shape{{line.startX, line.startY}, {line.endX, line.endY}};
    Put(out_.lines, shape, ShapeKind::kLine, styles_.Of(line.attr, Stroke::kLine));
    return Around({shape.a, shape.b});
  }

  Rect Arc(const jww::TEntEnko& arc) {
    const ArcShape shape = ArcOf(arc);
    Put(out_.arcs, shape, ShapeKind::kArc, styles_.Of(arc.attr, Stroke::kLine));
    for (double v : {shape.centre.x, shape.centre.y, shape.radius, shape.flatness, shape.tilt,
                     shape.start, shape.span}) {
      if (!std::isfinite(v)) return kNoNumber;
    }
    return ArcBounds(shape);
  }

  Rect Dot(const jww::TEntTen& point) {
    const PointShape shape{{point.x, point.y}};
    Put(out_.points, shape, ShapeKind::kPoint, styles_.Of(point.attr, Stroke::kPoint));
    return Around({shape.at});
  }

  Rect Text(const jww::TEntMoji& text, const jww::TextPlace& place, ItemKind& kind) {
    TextShape shape;
    LayOutText(text, shape);
    shape.fontName = FontName(text.fontName);
    if (auto image = ImageOfText(text, shape.utf8)) {
      kind = ItemKind::kImage;
      const Rect box =
          Around({image->corners[0], image->corners[1], image->corners[2], image->corners[3]});
      Put(out_.images, std::move(*image), ShapeKind::kImage, styles_.Of(text.attr, Stroke::kText));
      // Counted all the same, so that the counts agree with the conversion's.
      Mark(place);
      return box;
    }
    kind = ItemKind::kText;
    return ValueText(text, place, std::move(shape));
  }

  Rect ValueText(const jww::TEntMoji& text, const jww::TextPlace& place, TextShape shape) {
    shape.place = place;
    shape.newType = Mark(place);
    const Rect box = TextBox(shape);
    Put(out_.texts, std::move(shape), ShapeKind::kText, styles_.Of(text.attr, Stroke::kText));
    return box;
  }

  Rect Dimension(const jww::TEntSunpo& dim, const jww::TextPlace& place) {
    Rect box = Line(dim.line);
    // Older files and dimensions drawn without them hold zeros in place of the
    // auxiliary lines and points.
    for (const jww::TEntSen* aux : {&dim.auxLine1, &dim.auxLine2}) {
      if (aux->startX != aux->endX || aux->startY != aux->endY) box.Add(Line(*aux));
    }
    for (const jww::TEntTen* p : {&dim.point1, &dim.point2, &dim.auxPoint1, &dim.auxPoint2}) {
      if (p->x != 0 || p->y != 0 || dim.extensionMode != 0) box.Add(Dot(*p));
    }
    TextShape shape;
    LayOutText(dim.valueText, shape);
    shape.fontName = FontName(dim.valueText.fontName);
    box.Add(ValueText(dim.valueText, place, std::move(shape)));
    return box;
  }

  Rect Solid(const jww::TEntSolid& solid) {
    FillShape shape = FillOfSolid(solid);
    const std::uint32_t style = solid.attr.penColour == jww::kSolidRgbColour
                                    ? styles_.Fill(RgbOfColourRef(solid.rgbColour))
                                    : styles_.Of(solid.attr, Stroke::kFill);
    const Rect box = Around(shape.points);
    Put(out_.fills, std::move(shape), ShapeKind::kFill, style);
    return box;
  }

  Rect Use(const jww::TEntBlock& insert) {
    const std::optional<std::size_t> def = plan_.Find(insert.definitionNumber);
    if (!def) return {};
    UseShape shape;
    shape.symbol = *def;
    shape.origin = {insert.originX, insert.originY};
    shape.scaleX = insert.scaleX;
    shape.scaleY = insert.scaleY;
    shape.rotation = insert.rotation;
    const Extent& inner = symbolExtents_[*def];
    const Rect box =
        Transformed(inner.printed.empty() ? inner.all : inner.printed, Affine::Of(shape));
    Put(out_.uses, shape, ShapeKind::kUse, styles_.Of(insert.attr, Stroke::kLine));
    return box;
  }

  // Drawings name few fonts, text after text: each decoded once in a row.
  const std::string& FontName(const jww::JwwString& stored) {
    if (!(stored == lastFont_)) {
      lastFont_ = stored;
      lastFontName_ = jww::DecodedText(stored);
    }
    return lastFontName_;
  }

  // The new type of the text at `place` (0 for none), counted.
  int Mark(const jww::TextPlace& place) {
    const int newType = NewTypeAt(place);
    if (newType >= 1 && newType <= static_cast<int>(out_.retypedByType.size())) {
      ++out_.retypedByType[newType - 1];
    }
    return newType;
  }

  int NewTypeAt(const jww::TextPlace& place) const {
    const auto at = std::lower_bound(
        marks_.begin(), marks_.end(), place,
        [](const TextMark& mark, const jww::TextPlace& p) { return mark.place < p; });
    return at != marks_.end() && at->place == place ? at->newType : 0;
  }

  const jww::Drawing& drawing_;
  const BuildOptions& options_;
  DisplayList& out_;
  StyleTable styles_;
  std::vector<TextMark> marks_;
  SymbolPlan plan_;
  std::vector<Extent> symbolExtents_;
  jww::JwwString lastFont_;
  std::string lastFontName_;
};

}  // namespace

DisplayList BuildDisplayList(const jww::Drawing& drawing, std::span<const TextMark> marks,
                             const BuildOptions& options) {
  DisplayList list;
  Builder(drawing, marks, options, list).Run();
  return list;
}

}  // namespace render
