// The lines quillon-cli convert prints: one per file and a summary, as text
// or as one JSON object per line. The summary is printed however the run
// ends, with what stopped it when it stopped early.
#pragma once

#include <array>
#include <ostream>
#include <string>

#include "conversion/batch_run.h"

namespace cli {

struct ConvertTotals {
  int converted = 0, failed = 0, skipped = 0, retyped = 0;
  std::array<int, unit_val::kTextScopeCount> retypedIn{};  // by unit_val::TextScope
};

class ConvertReport {
 public:
  ConvertReport(std::ostream& out, bool json, bool dryRun)
      : out_(out), json_(json), dryRun_(dryRun) {}

  // One file's line.
  void Add(const unit_val::FileResult& file);
  // The summary; `stoppedBy` says why the run ended early (empty when it
  // did not). Text reports give it on a line of its own before the totals.
  // JSON reports give `why` as "reason_code".
  void Summary(const std::string& stoppedBy = {}, const unit_val::Failure& why = {});
  const ConvertTotals& totals() const { return totals_; }

 private:
  void Skipped(const unit_val::FileResult& file);

  std::ostream& out_;
  bool json_, dryRun_;
  ConvertTotals totals_;
};

}  // namespace cli
