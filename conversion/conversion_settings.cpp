#include "conversion/conversion_settings.h"

#include <stdexcept>
#include <string>

namespace unit_val {

void ConversionSettings::Reset() {
  rangeValues_.fill(0.0);
  flags_.fill(0);
}

int ConversionSettings::MinusNumber(int type, Measure measure) {
  if (type < 1 || type > kConvertibleTypeCount) {
    throw std::out_of_range("text type " + std::to_string(type) + " has no conversion range");
  }
  return 20 * static_cast<int>(measure) + 2 * type - 1;
}

double ConversionSettings::MinusTolerance(int type, Measure measure) const {
  return RangeValue(MinusNumber(type, measure));
}

double ConversionSettings::PlusTolerance(int type, Measure measure) const {
  return RangeValue(MinusNumber(type, measure) + 1);
}

bool ConversionSettings::ColourAccepted(int type, std::uint32_t typeColour,
                                        std::uint16_t penColour) const {
  if (type < 1 || type > kConvertibleTypeCount) {
    throw std::out_of_range("text type " + std::to_string(type) + " has no colour flag");
  }
  switch (Flag(type)) {
    case 1:
      return true;
    case 0:
      return typeColour == static_cast<std::uint32_t>(penColour);
    default:
      return false;
  }
}

}  // namespace unit_val
