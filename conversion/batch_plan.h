// The plan of a batch run, made before anything is written: every chosen
// drawing with its destination and the backup name it would use, each
// resolved through the file system (links, ".", "..", and letter case where
// the folder ignores it). A run that would write over anything it reads is
// refused whole; within a run, the first file to need a destination or
// backup name keeps it and a later one fails, so a file that stood at a
// destination always survives, as itself or as the one ".BAK".
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "conversion/failure_reason.h"
#include "conversion/source_check.h"

namespace unit_val {

struct ChosenFile {
  std::filesystem::path source;
  std::filesystem::path destination;
};

struct PlannedFile {
  std::filesystem::path source;
  std::filesystem::path destination;
  std::filesystem::path backup;
  // Set (Reason::kNameTaken): the file is not converted, for this reason,
  // and nothing of it is written.
  Failure conflict{};
  // Where the plan had to look (a name wanted twice): a file that is not a
  // drawing, or cannot be read, is set aside and holds no name.
  SourceCheck check{SourceKind::kDrawing};
};

struct BatchPlan {
  std::vector<PlannedFile> files;  // in the order chosen
  // Set: the whole run is refused, for this reason.
  Failure refusal{};
  bool ok() const { return !refusal; }
};

using SourceChecker = std::function<SourceCheck(const std::filesystem::path&)>;

// `alsoRead` are further files the run reads (the settings file); no
// destination or backup may be one of them either. Sources are taken as
// drawings; when they have not been checked yet (the run checks each as it
// loads it), `checkSource` is asked about the two files that want one name,
// so that a file which is no drawing never takes a name from one that is.
BatchPlan PlanBatch(const std::vector<ChosenFile>& chosen,
                    const std::vector<std::filesystem::path>& alsoRead = {},
                    const SourceChecker* checkSource = nullptr);

// The folder a file stands in; "." for a bare name.
std::filesystem::path FolderOf(const std::filesystem::path& file);

}  // namespace unit_val
