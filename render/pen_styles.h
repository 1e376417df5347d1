// Pen colours and widths as Jw_cad shows them on a white background, and the
// table that shares each look among the parts drawn with it.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "drawing/jwwunit.h"
#include "render/display_list.h"

namespace render {

// A Windows COLORREF (0x00BBGGRR) as stored in the drawing.
Rgb RgbOfColourRef(std::uint32_t colourRef);

// The colour of pen colour `penColour`: 1..9 from the drawing's pens (Jw_cad's
// own white-background colours when the drawing's screen background is dark
// or it stores none), 100 and above the extended (SXF) colours.
Rgb PenColour(const jww::THeader& header, std::uint16_t penColour);

// What an entity is drawn as, which decides what of its pen counts.
enum class Stroke : std::uint8_t { kLine, kText, kPoint, kFill };

// Styles of one drawing, each look stored once in the list's table.
class StyleTable {
 public:
  StyleTable(const jww::THeader& header, std::vector<Style>& styles)
      : header_(header), styles_(styles) {}
  // The style of an entity's attributes drawn as `stroke`.
  std::uint32_t Of(const jww::TEntAttr& attr, Stroke stroke);
  // A fill of an explicit colour (solids with pen colour 10).
  std::uint32_t Fill(Rgb colour);

 private:
  std::uint32_t Find(std::uint64_t key, Style (StyleTable::*make)(std::uint64_t) const);
  Style Make(std::uint64_t key) const;
  Style MakeFill(std::uint64_t key) const;

  const jww::THeader& header_;
  std::vector<Style>& styles_;
  std::unordered_map<std::uint64_t, std::uint32_t> byKey_;
  std::uint64_t lastKey_ = ~std::uint64_t{0};
  std::uint32_t lastIndex_ = 0;
};

}  // namespace render
