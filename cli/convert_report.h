// The lines quillon-cli convert prints: one per file and a summary, as text
// or as one JSON object per line.
#pragma once

#include <ostream>

#include "cli/file_selection.h"
#include "conversion/convert_file.h"

namespace cli {

struct ConvertTotals {
  int converted = 0, failed = 0, skipped = 0, retyped = 0;
};

class ConvertReport {
 public:
  ConvertReport(std::ostream& out, bool json, bool dryRun)
      : out_(out), json_(json), dryRun_(dryRun) {}

  void Skipped(const SkippedFile& file);
  void Done(const ChosenFile& file, const unit_val::ConvertOutcome& outcome);
  void Summary();
  const ConvertTotals& totals() const { return totals_; }

 private:
  std::ostream& out_;
  bool json_, dryRun_;
  ConvertTotals totals_;
};

}  // namespace cli
