#include "cli/drawing_summary.h"

namespace cli {

EntityCounts& EntityCounts::operator+=(const EntityCounts& o) {
  lines += o.lines;
  arcs += o.arcs;
  points += o.points;
  texts += o.texts;
  dimensions += o.dimensions;
  solids += o.solids;
  blockInserts += o.blockInserts;
  return *this;
}

EntityCounts CountEntities(const jww::EntityTables& t) {
  return EntityCounts{t.lines.size(),      t.arcs.size(),   t.points.size(),      t.texts.size(),
                      t.dimensions.size(), t.solids.size(), t.blockInserts.size()};
}

EntityCounts CountBlockEntities(const jww::Drawing& drawing) {
  EntityCounts sum;
  for (const jww::TEntBlockDef& def : drawing.blockDefs) sum += CountEntities(def.entities);
  return sum;
}

const char* TextPlaceName(TextPlace place) {
  switch (place) {
    case TextPlace::kTop:
      return "top";
    case TextPlace::kDimension:
      return "dimension";
    case TextPlace::kBlock:
      return "block";
    case TextPlace::kBlockDimension:
      return "block_dimension";
  }
  return "?";
}

namespace {

void VisitTexts(const jww::EntityTables& tables, const jww::TEntBlockDef* block,
                const std::function<void(const PlacedText&)>& visit) {
  const TextPlace textPlace = block ? TextPlace::kBlock : TextPlace::kTop;
  const TextPlace dimensionPlace = block ? TextPlace::kBlockDimension : TextPlace::kDimension;
  for (std::size_t i = 0; i < tables.texts.size(); ++i) {
    visit({textPlace, block, i, &tables.texts[i]});
  }
  for (std::size_t i = 0; i < tables.dimensions.size(); ++i) {
    visit({dimensionPlace, block, i, &tables.dimensions[i].valueText});
  }
}

}  // namespace

void ForEachText(const jww::Drawing& drawing, const std::function<void(const PlacedText&)>& visit) {
  VisitTexts(drawing.top, nullptr, visit);
  for (const jww::TEntBlockDef& def : drawing.blockDefs) VisitTexts(def.entities, &def, visit);
}

std::size_t TextCount(const jww::Drawing& drawing) {
  std::size_t n = drawing.top.texts.size() + drawing.top.dimensions.size();
  for (const jww::TEntBlockDef& def : drawing.blockDefs) {
    n += def.entities.texts.size() + def.entities.dimensions.size();
  }
  return n;
}

}  // namespace cli
