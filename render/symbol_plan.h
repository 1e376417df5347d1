// Which block definition's symbol is built when, and which uses are left out
// so that no symbol leads back to itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "drawing/jwwunit.h"

namespace render {

struct SymbolPlan {
  // Definition indices by number (the first definition of a number wins).
  std::unordered_map<std::uint32_t, std::size_t> byNumber;
  // Every definition once, each after the definitions its uses draw.
  std::vector<std::size_t> order;
  // Per definition, per block insert of its table: true when that use would
  // lead back to a definition already on the way to it, and is left out.
  std::vector<std::vector<bool>> leftOut;

  std::optional<std::size_t> Find(std::uint32_t number) const {
    const auto at = byNumber.find(number);
    if (at == byNumber.end()) return std::nullopt;
    return at->second;
  }
};

// Follows the uses from the top level's inserts in file order, then from
// every definition in table order, without recursion: a use whose definition
// is still being followed closes a cycle and is left out.
SymbolPlan PlanSymbols(const jww::Drawing& drawing);

}  // namespace render
