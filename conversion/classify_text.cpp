#include "conversion/classify_text.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>

#include "conversion/exact_bounds.h"

namespace unit_val {

namespace {

constexpr std::uint32_t kLargestPenColour = std::numeric_limits<std::uint16_t>::max();

bool InRange(double value, double nominal, double minus, double plus) {
  // "Not greater than" the minimum includes NaN.
  const double effectivePlus = plus > kMinimumPlusTolerance ? plus : kMinimumPlusTolerance;
  return AtOrAboveLowerBound(value, nominal, minus) &&
         BelowUpperBound(value, nominal, effectivePlus);
}

bool MeasureFits(const ConversionSettings& settings, int k, Measure measure, double value,
                 double nominal) {
  return InRange(value, nominal, settings.MinusTolerance(k, measure),
                 settings.PlusTolerance(k, measure));
}

int ConvertibleTypes(std::span<const jww::TTextType> types) {
  return static_cast<int>(std::min<std::size_t>(types.size(), kConvertibleTypeCount));
}

}  // namespace

int ClassifyText(std::span<const jww::TTextType> types, const ConversionSettings& settings,
                 std::uint16_t penColour, double width, double height, double spacing) {
  const int count = ConvertibleTypes(types);
  for (int k = 1; k <= count; ++k) {
    const jww::TTextType& type = types[static_cast<std::size_t>(k - 1)];
    if (type.colour > kLargestPenColour) continue;
    if (!MeasureFits(settings, k, Measure::kWidth, width, type.width)) continue;
    if (!MeasureFits(settings, k, Measure::kHeight, height, type.height)) continue;
    if (!MeasureFits(settings, k, Measure::kSpacing, spacing, type.spacing)) continue;
    if (!settings.ColourAccepted(k, type.colour, penColour)) continue;
    return k;
  }
  return 0;
}

void RetypeText(jww::TEntMoji& text, std::span<const jww::TTextType> types, int k) {
  if (k < 1 || k > ConvertibleTypes(types)) {
    throw std::out_of_range("no text type " + std::to_string(k) + " to retype to");
  }
  const jww::TTextType& type = types[static_cast<std::size_t>(k - 1)];
  if (type.colour > kLargestPenColour) {
    throw std::out_of_range("text type " + std::to_string(k) + " has a colour beyond 65535");
  }
  text.attr.penColour = static_cast<std::uint16_t>(type.colour);
  text.width = type.width;
  text.height = type.height;
  text.spacing = type.spacing;
  text.textType = text.textType / 10000 * 10000 + static_cast<std::uint32_t>(k);
}

int ConvertText(jww::TEntMoji& text, std::span<const jww::TTextType> types,
                const ConversionSettings& settings) {
  if (!IsFreeSize(text.textType)) return 0;
  const int k =
      ClassifyText(types, settings, text.attr.penColour, text.width, text.height, text.spacing);
  if (k > 0) RetypeText(text, types, k);
  return k;
}

}  // namespace unit_val
