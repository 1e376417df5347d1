// What only the writer decides: values it adjusts on the way out. None of
// these change the drawing tables; they exist only in the written file.
#pragma once

#include <cstdint>

#include "drawing/jwwunit.h"

namespace jww {

// The checks applied to each common attribute block, by what it belongs to:
// the entity kind 1..7, a block definition (8), and for the records inside a
// dimension: its lines 1, its value text 4, its points 3.
enum class AttrRule : int {
  kLine = 1,
  kArc = 2,
  kPoint = 3,
  kText = 4,
  kDimension = 5,
  kSolid = 6,
  kBlockInsert = 7,
  kBlockDefinition = 8,
};

// Pen styles and colours that older versions do not know are mapped to
// their nearest older value; values outside the allowed sets become the
// defaults; layers, layer groups and pen widths out of range become 0.
TEntAttr AttrForWrite(const TEntAttr& attr, AttrRule rule, std::int32_t version);

// Names and texts lose control characters and "^m" markers.
JwwString FilterForWrite(const JwwString& s);
// False when FilterForWrite would give the string back unchanged.
bool NeedsFilterForWrite(const JwwString& s);

// Versions up to 420 know no max draw width below -101.
std::int32_t MaxDrawWidthForWrite(std::int32_t stored, std::int32_t version);

// Display flag 11 rebuilt from its tens and units; a flag written by it
// is written again unchanged.
std::uint32_t DisplayFlag11ForWrite(const THeader& header, std::int32_t version);

}  // namespace jww
