#include "conversion/retype_marks.h"

#include <vector>

#include "render/walk.h"

namespace unit_val {

MarkedDrawing DrawWithMarks(const jww::Drawing& drawing, const ConversionSettings& settings) {
  MarkedDrawing marked;
  std::vector<render::TextMark> marks;
  for (const RetypedText& text : ListRetypedTexts(drawing, settings, &marked.counts)) {
    marks.push_back({text.place, text.newType});
  }
  marked.list = render::BuildDisplayList(drawing, marks);
  marked.legend =
      RetypeLegend(marked.counts.retyped, render::MarkedTextsOnHiddenLayers(marked.list));
  return marked;
}

std::string RetypeLegend(const std::array<int, 10>& retyped, int onHiddenLayers) {
  int total = 0;
  std::string types;
  for (std::size_t k = 0; k < retyped.size(); ++k) {
    if (retyped[k] == 0) continue;
    total += retyped[k];
    types += (types.empty() ? " (" : ", ") + std::string("文字種") + std::to_string(k + 1) + ": " +
             std::to_string(retyped[k]);
  }
  std::string legend = "変換対象 " + std::to_string(total) + " 件" + types;
  if (!types.empty()) legend += ")";
  if (onHiddenLayers > 0) legend += "　うち非表示レイヤ " + std::to_string(onHiddenLayers) + " 件";
  return legend;
}

}  // namespace unit_val
