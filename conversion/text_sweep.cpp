#include "conversion/text_sweep.h"

#include <numeric>
#include <span>

#include "conversion/classify_text.h"

namespace unit_val {

namespace {

class Sweep {
 public:
  Sweep(std::span<const jww::TTextType> types, const ConversionSettings& settings)
      : types_(types), settings_(settings) {}

  void Text(jww::TEntMoji& text, TextScope scope) {
    if (!IsFreeSize(text.textType)) return;
    const int k = ConvertText(text, types_, settings_);
    if (k > 0) {
      ++counts_.retyped[static_cast<std::size_t>(k - 1)];
      ++counts_.retypedIn[static_cast<std::size_t>(scope)];
    } else {
      ++counts_.leftFreeSize;
    }
  }
  void Texts(std::vector<jww::TEntMoji>& texts, TextScope scope) {
    for (jww::TEntMoji& text : texts) Text(text, scope);
  }
  void ValueTexts(std::vector<jww::TEntSunpo>& dimensions, TextScope scope) {
    for (jww::TEntSunpo& dimension : dimensions) Text(dimension.valueText, scope);
  }
  const SweepCounts& counts() const { return counts_; }

 private:
  std::span<const jww::TTextType> types_;
  const ConversionSettings& settings_;
  SweepCounts counts_;
};

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
  Sweep sweep(drawing.header.textTypes, settings);
  sweep.Texts(drawing.top.texts, TextScope::kTopLevel);
  if (settings.DimensionSwitch()) {
    sweep.ValueTexts(drawing.top.dimensions, TextScope::kDimensionValue);
  }
  if (settings.BlockSwitch()) {
    for (jww::TEntBlockDef& def : drawing.blockDefs) {
      sweep.Texts(def.entities.texts, TextScope::kInBlock);
      if (settings.DimensionSwitch())
        sweep.ValueTexts(def.entities.dimensions, TextScope::kInBlock);
    }
  }
  return sweep.counts();
}

}  // namespace unit_val
