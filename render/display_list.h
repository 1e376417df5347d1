// A drawing as a list of things to draw on its paper, in paper millimetres
// (x to the right, y up, the origin at the paper's centre as Jw_cad puts it).
// Painters (QPainter, GDI) and the SVG writer only read it: every decision of
// what a drawing looks like is taken when the list is built.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "drawing/jwwunit.h"
#include "drawing/text_place.h"

namespace render {

struct Point {
  double x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  double left = 1, bottom = 1, right = 0, top = 0;  // empty when left > right or bottom > top
  bool empty() const { return left > right || bottom > top; }
  void Add(Point p);
  void Add(const Rect& r);
};

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// How a stroke or a fill looks.
struct Style {
  Rgb colour;
  double widthMm = 0;  // 0: the thinnest line the device draws; a point's dot diameter
  // Dash pattern in paper millimetres, on and off in turn; empty: solid.
  std::vector<double> dashes;
  friend bool operator==(const Style&, const Style&) = default;
};

// Entity kinds as the SVG classes name them ("jww-line" ...).
enum class ItemKind : std::uint8_t {
  kLine,
  kArc,  // arcs, circles, ellipses
  kPoint,
  kText,
  kSolid,
  kDimension,
  kBlock,
  kImage,
};
inline constexpr int kItemKindCount = 8;
// "jww-line", "jww-arc", ... for the kind.
const char* ItemClass(ItemKind kind);

// The drawing parts of an item.
struct LineShape {
  Point a, b;
};
// An ellipse arc: radius along the tilted x axis, radius * flatness across;
// angles in radians, counter-clockwise, the start measured in the ellipse's
// own (untilted, unflattened) frame as Jw_cad stores it.
struct ArcShape {
  Point centre;
  double radius = 0, flatness = 1, tilt = 0, start = 0, span = 0;
  bool fullCircle = false;
};
struct PointShape {
  Point at;
};
// One character cell of a text, along the text's baseline from its start.
struct Glyph {
  std::string utf8;   // one character
  double offset = 0;  // from the start point to the cell's left edge, mm
  double width = 0;   // the cell's width, mm (half for a half-width character)
  bool halfWidth = false;
};
struct TextShape {
  Point start;        // bottom left of the first cell
  double angle = 0;   // radians, counter-clockwise
  double height = 0;  // cell height, mm
  std::vector<Glyph> glyphs;
  std::string utf8;      // the whole text
  std::string fontName;  // UTF-8, as the drawing names it
  // The text type a conversion would give this text (1..10), 0 for none.
  int newType = 0;
  jww::TextPlace place;  // where the text stands in the drawing
};
// A filled polygon (four-point solids; arc solids flattened).
struct FillShape {
  std::vector<Point> points;
};
// A block definition drawn through its symbol: symbol-local coordinates
// mapped by scale, then rotation (radians), then moved to the origin.
struct UseShape {
  std::size_t symbol = 0;  // index into DisplayList::symbols
  Point origin;
  double scaleX = 1, scaleY = 1, rotation = 0;
};
// The frame of an embedded image, with the image's name.
struct ImageShape {
  std::array<Point, 4> corners;  // bottom left, bottom right, top right, top left
  std::string name;              // UTF-8
};

// One part of an item: exactly one of the shapes, by `shape`.
enum class ShapeKind : std::uint8_t { kLine, kArc, kPoint, kText, kFill, kUse, kImage };
struct Part {
  ShapeKind shape = ShapeKind::kLine;
  std::uint32_t style = 0;  // index into DisplayList::styles
  std::uint32_t index = 0;  // into the list's table of that shape
};

// One entity of the drawing: one or more parts (a dimension has its line,
// auxiliary lines, points and value text). A top-level block insert whose
// definition is missing has none. Temporary points are no items unless
// BuildOptions asks for them.
struct Item {
  ItemKind kind = ItemKind::kLine;
  std::uint16_t layerGroup = 0, layer = 0;  // as stored
  std::uint32_t firstPart = 0, partCount = 0;
};

// A block definition's contents, in the definition's own coordinates.
struct Symbol {
  std::string name;          // UTF-8
  std::uint32_t number = 0;  // the definition's number
  std::vector<Item> items;   // uses of definitions that would lead back here are left out
};

enum class LayerState : std::uint8_t { kHidden, kShownOnly, kEditable };

struct Layer {
  std::string name;  // UTF-8; Jw_cad's own name ("0-1" style) when the drawing names none
  LayerState state = LayerState::kEditable;
};

struct DisplayList {
  std::vector<Style> styles;
  std::vector<LineShape> lines;
  std::vector<ArcShape> arcs;
  std::vector<PointShape> points;
  std::vector<TextShape> texts;
  std::vector<FillShape> fills;
  std::vector<UseShape> uses;
  std::vector<ImageShape> images;
  std::vector<Part> parts;

  std::vector<Item> items;  // the drawing's top-level entities, in file order
  std::vector<Symbol> symbols;
  // Layers by layer group * 16 + layer, and the 16 layer groups' names.
  std::vector<Layer> layers;
  std::vector<Layer> layerGroups;

  Rect paper;  // the paper's frame
  // Everything drawn (blocks expanded) that Jw_cad prints: hidden layers and
  // the auxiliary colour and line type (9) left out, unless nothing else is
  // drawn. Empty for an empty drawing.
  Rect bounds;
  // Retyped texts (newType != 0) by their new type: type k at index k - 1;
  // a text of a block definition counts once, however often it is used.
  std::array<int, 10> retypedByType{};

  std::span<const Part> PartsOf(const Item& item) const {
    return {parts.data() + item.firstPart, item.partCount};
  }
};

struct BuildOptions {
  bool temporaryPoints = false;  // Jw_cad does not draw them unless asked
};

// A text a conversion would retype, and its new type (1..10).
struct TextMark {
  jww::TextPlace place;
  int newType = 0;
};

// Builds the list of `drawing`; the texts at `marks` get their new type.
// Texts are decoded as jww::DecodedText decodes them.
DisplayList BuildDisplayList(const jww::Drawing& drawing, std::span<const TextMark> marks = {},
                             const BuildOptions& options = {});

}  // namespace render
