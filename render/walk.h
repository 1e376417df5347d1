// The one way a painter goes through a display list: items of hidden layers
// left out, uses of block definitions expanded with their transforms, each
// part handed over with where it goes on the paper.
#pragma once

#include "render/display_list.h"

namespace render {

// Paper point = (a x + c y + e, b x + d y + f).
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
  Point Apply(Point p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
  // This transform after `inner`: Apply(inner.Apply(p)).
  Affine After(const Affine& inner) const;
  // The transform of a use of a block definition.
  static Affine Of(const UseShape& use);
};

// What a painter does with each part. `greyed`: the item stands on a layer
// that is shown only, drawn in grey. Uses never reach the painter: their
// symbols' parts do, with the use's transform applied.
class PartPainter {
 public:
  virtual ~PartPainter() = default;
  virtual void Line(const LineShape& line, const Style& style, const Affine& to, bool greyed) = 0;
  virtual void Arc(const ArcShape& arc, const Style& style, const Affine& to, bool greyed) = 0;
  virtual void Dot(const PointShape& point, const Style& style, const Affine& to, bool greyed) = 0;
  virtual void Text(const TextShape& text, const Style& style, const Affine& to, bool greyed) = 0;
  virtual void Fill(const FillShape& fill, const Style& style, const Affine& to, bool greyed) = 0;
  virtual void Image(const ImageShape& image, const Style& style, const Affine& to,
                     bool greyed) = 0;
  // Asked before each top-level item; false stops the walk (a newer picture
  // is wanted).
  virtual bool KeepGoing() { return true; }
};

// How an item is shown: the lesser of its layer's and its layer group's
// states.
LayerState ShownState(const DisplayList& list, const Item& item);

// Marked texts of the top-level list that stand on hidden layers: counted
// but not to be seen in a picture.
int MarkedTextsOnHiddenLayers(const DisplayList& list);

// Paints every visible item of `list` in file order through `painter`.
void Walk(const DisplayList& list, PartPainter& painter);

// The grey a part of a shown-only layer is drawn in, and the colour marked
// texts are drawn in.
inline constexpr Rgb kGreyedColour{0xB0, 0xB0, 0xB0};
inline constexpr Rgb kMarkColour{0xE0, 0x10, 0x80};

}  // namespace render
