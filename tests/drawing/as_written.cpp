#include "tests/drawing/as_written.h"

#include <filesystem>

#include "drawing/jww_writer.h"
#include "drawing/writer_rules.h"

namespace drawing_test {

namespace {

using namespace jww;

void Attr(TEntAttr& a, AttrRule rule, std::int32_t v) {
  a = AttrForWrite(a, rule, v);
}
void Filter(JwwString& s) {
  s = FilterForWrite(s);
}

void Text(TEntMoji& t, std::int32_t v) {
  Attr(t.attr, AttrRule::kText, v);
  Filter(t.fontName);
  Filter(t.text);
}

void Tables(EntityTables& t, std::int32_t v) {
  for (auto& e : t.lines) Attr(e.attr, AttrRule::kLine, v);
  for (auto& e : t.arcs) Attr(e.attr, AttrRule::kArc, v);
  for (auto& e : t.points) Attr(e.attr, AttrRule::kPoint, v);
  for (auto& e : t.texts) Text(e, v);
  for (auto& e : t.dimensions) {
    Attr(e.attr, AttrRule::kDimension, v);
    Attr(e.line.attr, AttrRule::kLine, v);
    Text(e.valueText, v);
    Attr(e.auxLine1.attr, AttrRule::kLine, v);
    Attr(e.auxLine2.attr, AttrRule::kLine, v);
    for (TEntTen* p : {&e.point1, &e.point2, &e.auxPoint1, &e.auxPoint2}) {
      Attr(p->attr, AttrRule::kPoint, v);
    }
    if (v < 420) {
      // Not in the file: a load gives them the dimension's attributes.
      e.auxLine1.attr = e.auxLine2.attr = e.attr;
      e.point1.attr = e.point2.attr = e.auxPoint1.attr = e.auxPoint2.attr = e.attr;
    }
  }
  for (auto& e : t.solids) Attr(e.attr, AttrRule::kSolid, v);
  for (auto& e : t.blockInserts) Attr(e.attr, AttrRule::kBlockInsert, v);
  std::vector<TEntRef> order;
  for (const TEntRef& ref : t.order) {
    if (ref.kind >= kLine && ref.kind <= kBlockInsert) order.push_back(ref);
  }
  t.order = order;
}

}  // namespace

Drawing AsWritten(const Drawing& source, std::int32_t v) {
  Drawing d = source;
  THeader& h = d.header;
  h.signature = "JwwData.";
  h.version = v;
  h.reservedWords.fill(0);
  h.reservedWord = 0;
  h.maxDrawWidth = MaxDrawWidthForWrite(h.maxDrawWidth, v);
  DeriveWideLine(h);
  SplitDisplayFlag11(h, DisplayFlag11ForWrite(h, v));
  for (auto& layer : h.layers) Filter(layer.name);
  for (auto& group : h.layerGroups) Filter(group.name);
  for (auto& c : h.extendedColours) Filter(c.name);
  for (auto& t : h.extendedLineTypes) Filter(t.name);
  Tables(d.top, v);
  h.entityCount = static_cast<std::int32_t>(d.top.order.size());
  for (TEntBlockDef& def : d.blockDefs) {
    Attr(def.attr, AttrRule::kBlockDefinition, v);
    Filter(def.name);
    Tables(def.entities, v);
    def.entityCount = static_cast<std::int32_t>(def.entities.order.size());
  }
  h.blockDefinitionCount = static_cast<std::int32_t>(d.blockDefs.size());
  MarkImagesInUse(d);
  std::vector<TBindImageType> kept;
  for (const TBindImageType& image : d.images) {
    if (!image.inUse) continue;
    kept.push_back(image);
    kept.back().size = static_cast<std::uint32_t>(std::filesystem::file_size(image.tempFile));
  }
  d.images = v >= 700 ? kept : std::vector<TBindImageType>{};
  return d;
}

}  // namespace drawing_test
