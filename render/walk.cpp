#include "render/walk.h"

#include <cmath>
#include <vector>

namespace render {

Affine Affine::After(const Affine& inner) const {
  return {a * inner.a + c * inner.b, b * inner.a + d * inner.b,     a * inner.c + c * inner.d,
          b * inner.c + d * inner.d, a * inner.e + c * inner.f + e, b * inner.e + d * inner.f + f};
}

Affine Affine::Of(const UseShape& use) {
  const double cosR = std::cos(use.rotation), sinR = std::sin(use.rotation);
  return {cosR * use.scaleX, sinR * use.scaleX, -sinR * use.scaleY,
          cosR * use.scaleY, use.origin.x,      use.origin.y};
}

namespace {

class Walker {
 public:
  Walker(const DisplayList& list, PartPainter& painter) : list_(list), painter_(painter) {}

  void Items(const std::vector<Item>& items, const Affine& to, bool greyed) {
    for (const Item& item : items) {
      for (const Part& part : list_.PartsOf(item)) Paint(part, to, greyed);
    }
  }

  void Paint(const Part& part, const Affine& to, bool greyed) {
    const Style& style = list_.styles[part.style];
    switch (part.shape) {
      case ShapeKind::kLine:
        painter_.Line(list_.lines[part.index], style, to, greyed);
        break;
      case ShapeKind::kArc:
        painter_.Arc(list_.arcs[part.index], style, to, greyed);
        break;
      case ShapeKind::kPoint:
        painter_.Dot(list_.points[part.index], style, to, greyed);
        break;
      case ShapeKind::kText:
        painter_.Text(list_.texts[part.index], style, to, greyed);
        break;
      case ShapeKind::kFill:
        painter_.Fill(list_.fills[part.index], style, to, greyed);
        break;
      case ShapeKind::kImage:
        painter_.Image(list_.images[part.index], style, to, greyed);
        break;
      case ShapeKind::kUse: {
        // Symbols hold no use that leads back to themselves, so this ends.
        const UseShape& use = list_.uses[part.index];
        Items(list_.symbols[use.symbol].items, to.After(Affine::Of(use)), greyed);
        break;
      }
    }
  }

 private:
  const DisplayList& list_;
  PartPainter& painter_;
};

}  // namespace

void Rect::Add(Point p) {
  if (empty()) {
    *this = {p.x, p.y, p.x, p.y};
    return;
  }
  left = std::min(left, p.x);
  right = std::max(right, p.x);
  bottom = std::min(bottom, p.y);
  top = std::max(top, p.y);
}

void Rect::Add(const Rect& r) {
  if (r.empty()) return;
  Add(Point{r.left, r.bottom});
  Add(Point{r.right, r.top});
}

LayerState ShownState(const DisplayList& list, const Item& item) {
  const std::size_t group = item.layerGroup, layer = item.layer;
  const std::size_t at = group * 16 + layer;
  LayerState state = at < list.layers.size() ? list.layers[at].state : LayerState::kEditable;
  if (group < list.layerGroups.size()) {
    const LayerState groupState = list.layerGroups[group].state;
    if (groupState < state) state = groupState;
  }
  return state;
}

int MarkedTextsOnHiddenLayers(const DisplayList& list) {
  int hidden = 0;
  for (const Item& item : list.items) {
    if (ShownState(list, item) != LayerState::kHidden) continue;
    for (const Part& part : list.PartsOf(item)) {
      if (part.shape == ShapeKind::kText && list.texts[part.index].newType != 0) ++hidden;
    }
  }
  return hidden;
}

void Walk(const DisplayList& list, PartPainter& painter) {
  Walker walker(list, painter);
  for (const Item& item : list.items) {
    if (!painter.KeepGoing()) return;
    const LayerState state = ShownState(list, item);
    if (state == LayerState::kHidden) continue;
    for (const Part& part : list.PartsOf(item)) {
      walker.Paint(part, Affine{}, state == LayerState::kShownOnly);
    }
  }
}

}  // namespace render
