// A drawing's picture with the texts a conversion under the settings would
// retype marked, the conversion's counts of them, and the legend that names
// them, for the preview pane and the SVG alike.
#pragma once

#include <array>
#include <string>

#include "conversion/conversion_settings.h"
#include "conversion/text_sweep.h"
#include "drawing/jwwunit.h"
#include "render/display_list.h"

namespace unit_val {

struct MarkedDrawing {
  render::DisplayList list;
  SweepCounts counts;
  std::string legend;  // "変換対象 N 件 (文字種k: n, …)"
};

MarkedDrawing DrawWithMarks(const jww::Drawing& drawing, const ConversionSettings& settings);

// "変換対象 N 件 (文字種k: n, …)", and "　うち非表示レイヤ N 件" when
// some of them stand on hidden layers.
std::string RetypeLegend(const std::array<int, 10>& retyped, int onHiddenLayers = 0);

}  // namespace unit_val
