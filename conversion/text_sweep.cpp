#include "conversion/text_sweep.h"

#include <numeric>
#include <span>

#include "conversion/classify_text.h"

namespace unit_val {

namespace {

// The texts in scope, in the sweep's order, each handed to `visit` with its
// place and scope. One walk for the conversion and for the listing of what
// it would do.
template <typename DrawingT, typename Visit>
void VisitTextsInScope(DrawingT& drawing, const ConversionSettings& settings, Visit visit) {
  const auto texts = [&](auto& list, int def, TextScope scope) {
    for (std::size_t i = 0; i < list.size(); ++i)
      visit(list[i], jww::TextPlace{def, false, i}, scope);
  };
  const auto valueTexts = [&](auto& dimensions, int def, TextScope scope) {
    for (std::size_t i = 0; i < dimensions.size(); ++i)
      visit(dimensions[i].valueText, jww::TextPlace{def, true, i}, scope);
  };
  texts(drawing.top.texts, -1, TextScope::kTopLevel);
  if (settings.DimensionSwitch())
    valueTexts(drawing.top.dimensions, -1, TextScope::kDimensionValue);
  if (settings.BlockSwitch()) {
    for (std::size_t d = 0; d < drawing.blockDefs.size(); ++d) {
      auto& def = drawing.blockDefs[d];
      texts(def.entities.texts, static_cast<int>(d), TextScope::kInBlock);
      if (settings.DimensionSwitch())
        valueTexts(def.entities.dimensions, static_cast<int>(d), TextScope::kInBlock);
    }
  }
}

void Count(SweepCounts& counts, int k, TextScope scope) {
  if (k > 0) {
    ++counts.retyped[static_cast<std::size_t>(k - 1)];
    ++counts.retypedIn[static_cast<std::size_t>(scope)];
  } else {
    ++counts.leftFreeSize;
  }
}

}  // namespace

int SweepCounts::TotalRetyped() const {
  return std::accumulate(retyped.begin(), retyped.end(), 0);
}

SweepCounts& SweepCounts::operator+=(const SweepCounts& other) {
  for (std::size_t k = 0; k < retyped.size(); ++k) retyped[k] += other.retyped[k];
  for (std::size_t s = 0; s < retypedIn.size(); ++s) retypedIn[s] += other.retypedIn[s];
  leftFreeSize += other.leftFreeSize;
  return *this;
}

SweepCounts SweepTexts(jww::Drawing& drawing, const ConversionSettings& settings) {
  SweepCounts counts;
  const std::span<const jww::TTextType> types = drawing.header.textTypes;
  VisitTextsInScope(drawing, settings, [&](jww::TEntMoji& text, jww::TextPlace, TextScope scope) {
    if (IsFreeSize(text.textType)) Count(counts, ConvertText(text, types, settings), scope);
  });
  return counts;
}

std::vector<RetypedText> ListRetypedTexts(const jww::Drawing& drawing,
                                          const ConversionSettings& settings, SweepCounts* counts) {
  std::vector<RetypedText> retyped;
  SweepCounts tally;
  const std::span<const jww::TTextType> types = drawing.header.textTypes;
  VisitTextsInScope(drawing, settings,
                    [&](const jww::TEntMoji& text, jww::TextPlace place, TextScope scope) {
                      if (!IsFreeSize(text.textType)) return;
                      const int k = ClassifyText(types, settings, text.attr.penColour, text.width,
                                                 text.height, text.spacing);
                      Count(tally, k, scope);
                      if (k > 0) retyped.push_back({place, k});
                    });
  if (counts != nullptr) *counts = tally;
  return retyped;
}

}  // namespace unit_val
