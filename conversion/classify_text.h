// The rule that gives a free-size text one of the drawing's text types 1..10.
#pragma once

#include <cstdint>
#include <span>

#include "conversion/conversion_settings.h"
#include "drawing/jwwunit.h"

namespace unit_val {

// A plus tolerance not greater than this counts as this, so the nominal value
// always lies inside its own range.
inline constexpr double kMinimumPlusTolerance = 0.000001;

// True when the text type field (q * 10000 + r) has r == 0.
constexpr bool IsFreeSize(std::uint32_t textTypeField) {
  return textTypeField % 10000 == 0;
}

// The first text type k (1..10) whose ranges hold the width, height and
// spacing and whose colour rule accepts the pen colour; 0 when none does.
// Each range is [nominal - minus, nominal + plus), compared exactly. `types`
// is the drawing's text type table (type k at index k - 1); a type whose
// colour does not fit a pen colour (above 65535) never matches.
int ClassifyText(std::span<const jww::TTextType> types, const ConversionSettings& settings,
                 std::uint16_t penColour, double width, double height, double spacing);

// Rewrites exactly five fields of `text` from text type k of `types`: pen
// colour, width, height, spacing, and the text type field, which becomes
// (field / 10000) * 10000 + k. Throws std::out_of_range for a k that names no
// row of the table or whose colour does not fit a pen colour.
void RetypeText(jww::TEntMoji& text, std::span<const jww::TTextType> types, int k);

// Classifies a free-size text and retypes it when a type fits; returns the
// type given, or 0 (also for a text that already has a type).
int ConvertText(jww::TEntMoji& text, std::span<const jww::TTextType> types,
                const ConversionSettings& settings);

}  // namespace unit_val
