#include "render/display_list.h"

namespace render {

const char* ItemClass(ItemKind kind) {
  switch (kind) {
    case ItemKind::kLine:
      return "jww-line";
    case ItemKind::kArc:
      return "jww-arc";
    case ItemKind::kPoint:
      return "jww-point";
    case ItemKind::kText:
      return "jww-text";
    case ItemKind::kSolid:
      return "jww-solid";
    case ItemKind::kDimension:
      return "jww-dimension";
    case ItemKind::kBlock:
      return "jww-block";
    case ItemKind::kImage:
      return "jww-image";
  }
  return "jww-line";
}

}  // namespace render
