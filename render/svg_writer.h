// A display list as an SVG document: the paper in millimetres, the drawing's
// layer groups and layers as Inkscape layers, block definitions as symbols,
// texts as real text, every entity one element or group whose class names
// its kind ("jww-line" ...).
#pragma once

#include <ostream>
#include <string>

#include "render/display_list.h"

namespace render {

struct SvgOptions {
  // Texts with a new type drawn in the marking colour, with the class
  // "jww-retype" and their new type as data-new-type.
  bool mark = false;
  // A line written under the drawing in the marking colour (UTF-8); none
  // when empty.
  std::string legend;
  std::string title;  // the document's title, UTF-8; none when empty
};

// Writes `list` to `out` as it goes (the document is never held whole).
void WriteSvg(const DisplayList& list, std::ostream& out, const SvgOptions& options = {});

}  // namespace render
