// The plan of a batch run, made before anything is written: every chosen
// drawing with its destination and the backup name it would use, each
// resolved through the file system (links, ".", "..", and letter case where
// the folder ignores it). A run that would write over anything it reads is
// refused whole; within a run, the first file to need a destination or
// backup name keeps it and a later one fails, so a file that stood at a
// destination always survives, as itself or as the one ".BAK".
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace unit_val {

struct ChosenFile {
  std::filesystem::path source;
  std::filesystem::path destination;
};

struct PlannedFile {
  std::filesystem::path source;
  std::filesystem::path destination;
  std::filesystem::path backup;
  // Not empty: the file is not converted, for this reason, and nothing of it
  // is written.
  std::string conflict;
};

struct BatchPlan {
  std::vector<PlannedFile> files;  // in the order chosen
  // Not empty: the whole run is refused, for this reason.
  std::string refusal;
  bool ok() const { return refusal.empty(); }
};

// `alsoRead` are further files the run reads (the settings file); no
// destination or backup may be one of them either.
BatchPlan PlanBatch(const std::vector<ChosenFile>& chosen,
                    const std::vector<std::filesystem::path>& alsoRead = {});

}  // namespace unit_val
