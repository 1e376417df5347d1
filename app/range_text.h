// How the settings dialog reads what was typed into a range box: a number
// of 0 or more, written with ASCII or full-width digits, "." or "," (either
// width) as the decimal mark, blanks around it allowed. Anything else is
// refused with the reason, so that no typing slip is stored as 0.
#pragma once

#include <string>
#include <string_view>

namespace unit2 {

enum class RangeProblem { kNone, kEmpty, kNotNumber, kNegative, kTooLarge };

struct RangeReading {
  double value = 0;
  RangeProblem problem = RangeProblem::kNone;
};

RangeReading ReadRangeText(std::string_view text);

}  // namespace unit2
