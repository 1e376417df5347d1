// What a loaded drawing holds, in the terms quillon-cli reports: entity
// counts per kind and every text with the place it stands in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "drawing/jwwunit.h"

namespace cli {

struct EntityCounts {
  std::size_t lines = 0, arcs = 0, points = 0, texts = 0, dimensions = 0, solids = 0,
              blockInserts = 0;
  EntityCounts& operator+=(const EntityCounts& o);
};

EntityCounts CountEntities(const jww::EntityTables& tables);
// Summed over every block definition of the drawing.
EntityCounts CountBlockEntities(const jww::Drawing& drawing);

enum class TextPlace {
  kTop,             // the top-level text table
  kDimension,       // the value text of a top-level dimension
  kBlock,           // the text table of a block definition
  kBlockDimension,  // the value text of a dimension in a block definition
};
const char* TextPlaceName(TextPlace place);  // "top", "dimension", "block", "block_dimension"

struct PlacedText {
  TextPlace place;
  const jww::TEntBlockDef* block;  // the definition it stands in, or null
  std::size_t index;               // in the text table, or the dimension table
  const jww::TEntMoji* text;       // points into the drawing
};

// Calls `visit` with every text of the drawing: the top-level texts, the
// top-level dimension values, then for each block definition its texts and
// dimension values. Nothing is gathered: a drawing of millions of texts
// takes no memory beyond its own.
void ForEachText(const jww::Drawing& drawing, const std::function<void(const PlacedText&)>& visit);
std::size_t TextCount(const jww::Drawing& drawing);

}  // namespace cli
