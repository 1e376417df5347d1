// Where one text of a drawing stands: a text of the top-level list or of a
// block definition's list, or the value text of a dimension in either.
#pragma once

#include <compare>
#include <cstddef>

namespace jww {

struct TextPlace {
  int blockDef = -1;            // index into Drawing::blockDefs; -1: the top-level list
  bool dimensionValue = false;  // the value text of dimensions[index], else texts[index]
  std::size_t index = 0;
  friend auto operator<=>(const TextPlace&, const TextPlace&) = default;
};

}  // namespace jww
