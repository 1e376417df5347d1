// The lines quillon-cli convert prints: one per file and a summary, as text
// or as one JSON object per line. The summary is printed however the run
// ends, with what stopped it when it stopped early.
#pragma once

#include <ostream>
#include <string>

#include "conversion/batch_run.h"

namespace cli {

class ConvertReport {
 public:
  ConvertReport(std::ostream& out, bool json, bool dryRun)
      : out_(out), json_(json), dryRun_(dryRun) {}

  // One file's line.
  void Add(const unit_val::FileResult& file);
  // The summary of the run's totals; `stoppedBy` says why the run ended
  // early (empty when it did not). Text reports give it on a line of its own
  // before the totals. JSON reports give `why` as "reason_code".
  void Summary(const unit_val::BatchTotals& totals, const std::string& stoppedBy = {},
               const unit_val::Failure& why = {});

 private:
  void Skipped(const unit_val::FileResult& file);

  std::ostream& out_;
  bool json_, dryRun_;
};

}  // namespace cli
