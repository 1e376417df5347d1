// Checking a whole batch of conversions before anything is written.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace unit_val {

struct ChosenFile {
  std::filesystem::path source, destination;
};

struct PlannedFile {
  std::filesystem::path source, destination, backup;
  std::string conflict;  // non-empty: not converted, for this reason; nothing of it is written
};

struct BatchPlan {
  std::vector<PlannedFile> files;  // in the order given
  std::string refusal;             // non-empty: the whole run is refused
  bool ok() const { return refusal.empty(); }
};

BatchPlan PlanBatch(const std::vector<ChosenFile>& chosen);

}  // namespace unit_val
