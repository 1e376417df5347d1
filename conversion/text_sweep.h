// The walk over every text that the conversion settings put in scope.
#pragma once

#include <array>
#include <vector>

#include "conversion/conversion_settings.h"
#include "drawing/jwwunit.h"
#include "drawing/text_place.h"

namespace unit_val {

// Where a text stands: a text of the drawing, the value text of one of its
// dimensions, or anything inside a block definition.
enum class TextScope { kTopLevel, kDimensionValue, kInBlock };
inline constexpr std::size_t kTextScopeCount = 3;

struct SweepCounts {
  std::array<int, kConvertibleTypeCount> retyped{};  // texts given type k at index k - 1
  std::array<int, kTextScopeCount> retypedIn{};      // the same texts by TextScope
  int leftFreeSize = 0;                              // free-size texts in scope that no type took
  int TotalRetyped() const;
  SweepCounts& operator+=(const SweepCounts& other);
  friend bool operator==(const SweepCounts&, const SweepCounts&) = default;
};

// Converts, in this order: the top-level texts; with the dimension switch the
// value texts of the top-level dimensions; with the block switch, for each
// block definition, its texts and then, with the dimension switch as well,
// its dimensions' value texts. Nothing else is visited.
SweepCounts SweepTexts(jww::Drawing& drawing, const ConversionSettings& settings);

// A text the sweep would retype, and the type it would give (1..10).
struct RetypedText {
  jww::TextPlace place;
  int newType = 0;
};

// The same walk and the same rule without writing: each text SweepTexts
// would retype, in its order. `counts`, when given, receives what SweepTexts
// would return.
std::vector<RetypedText> ListRetypedTexts(const jww::Drawing& drawing,
                                          const ConversionSettings& settings,
                                          SweepCounts* counts = nullptr);

}  // namespace unit_val
