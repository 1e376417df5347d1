#include "conversion/batch_plan.h"

#include <map>
#include <system_error>

#include "conversion/backup.h"
#include "conversion/path_text.h"

namespace unit_val {

namespace fs = std::filesystem;

namespace {

bool SameFile(const fs::path& a, const fs::path& b) {
  if (a == b) return true;
  std::error_code ec;
  return fs::equivalent(a, b, ec) && !ec;
}

}  // namespace

BatchPlan PlanBatch(const std::vector<ChosenFile>& chosen) {
  BatchPlan plan;
  std::map<fs::path, fs::path> written;  // destination or backup -> the source writing it
  for (const ChosenFile& file : chosen) {
    PlannedFile planned{file.source, file.destination, BackupPath(file.destination), {}};
    for (const ChosenFile& other : chosen) {
      if (SameFile(planned.destination, other.source) || SameFile(planned.backup, other.source)) {
        plan.refusal = "the run would write " + PathText(other.source) + ", which it reads";
        return plan;
      }
    }
    for (const fs::path& target : {planned.destination, planned.backup}) {
      if (auto it = written.find(target); it != written.end() && planned.conflict.empty()) {
        planned.conflict = PathText(target) + " is also written for " + PathText(it->second);
      }
    }
    if (planned.conflict.empty()) {
      written.emplace(planned.destination, planned.source);
      written.emplace(planned.backup, planned.source);
    }
    plan.files.push_back(std::move(planned));
  }
  return plan;
}

}  // namespace unit_val
