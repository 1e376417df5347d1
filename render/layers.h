// The drawing's layers and layer groups in their stored state, and its paper.
#pragma once

#include <vector>

#include "drawing/jwwunit.h"
#include "render/display_list.h"

namespace render {

// A stored layer or layer group state: 0 hidden, 1 shown only, 2 editable,
// 3 the one written to (editable too).
LayerState LayerStateOf(std::uint32_t stored);

// The 256 layers (group * 16 + layer) with their names, Jw_cad's "G-L"
// (hexadecimal digits) where the drawing names none.
std::vector<Layer> LayersOf(const jww::THeader& header);
// The 16 layer groups, named by their hexadecimal digit where unnamed.
std::vector<Layer> LayerGroupsOf(const jww::THeader& header);

// The paper of stored paper size `code` (0..4 A0..A4, 8..11 2A..5A, 12..14
// 10 m, 50 m and 100 m), landscape and centred on the origin; A3 for codes
// Jw_cad does not know.
Rect PaperOf(std::uint32_t code);

}  // namespace render
