#include "render/symbol_plan.h"

#include <utility>

namespace render {

namespace {

enum class Visit : std::uint8_t { kNotYet, kOnTheWay, kDone };

}  // namespace

SymbolPlan PlanSymbols(const jww::Drawing& drawing) {
  const std::vector<jww::TEntBlockDef>& defs = drawing.blockDefs;
  SymbolPlan plan;
  plan.byNumber.reserve(defs.size());
  plan.leftOut.resize(defs.size());
  for (std::size_t i = 0; i < defs.size(); ++i) {
    plan.byNumber.try_emplace(defs[i].number, i);
    plan.leftOut[i].assign(defs[i].entities.blockInserts.size(), false);
  }
  plan.order.reserve(defs.size());

  std::vector<Visit> visit(defs.size(), Visit::kNotYet);
  std::vector<std::pair<std::size_t, std::size_t>> stack;  // definition, next insert
  auto follow = [&](std::size_t root) {
    if (visit[root] != Visit::kNotYet) return;
    visit[root] = Visit::kOnTheWay;
    stack.emplace_back(root, 0);
    while (!stack.empty()) {
      const std::size_t def = stack.back().first;
      const std::size_t next = stack.back().second;
      const auto& inserts = defs[def].entities.blockInserts;
      if (next == inserts.size()) {
        visit[def] = Visit::kDone;
        plan.order.push_back(def);
        stack.pop_back();
        continue;
      }
      ++stack.back().second;
      const std::optional<std::size_t> target = plan.Find(inserts[next].definitionNumber);
      if (!target) continue;
      if (visit[*target] == Visit::kOnTheWay) {
        plan.leftOut[def][next] = true;
      } else if (visit[*target] == Visit::kNotYet) {
        visit[*target] = Visit::kOnTheWay;
        stack.emplace_back(*target, 0);
      }
    }
  };
  for (const jww::TEntBlock& insert : drawing.top.blockInserts) {
    if (const auto def = plan.Find(insert.definitionNumber)) follow(*def);
  }
  for (std::size_t i = 0; i < defs.size(); ++i) follow(i);
  return plan;
}

}  // namespace render
