// The batch conversion run of the highlighted rows, through the one batch
// run every front end shares.
#include "app/message_texts.h"
#include "app/unit1.h"
#include "app/window_observer.h"
#include "common/ascii_case.h"
#include "conversion/file_selection.h"
#include "platform/path_text.h"

namespace fs = std::filesystem;

namespace {

// A failed file's reason, naming an older ".BAK" it left under a name of
// ours.
std::string FailedReason(const unit_val::FileResult& file) {
  std::string reason = texts::FailureText(file.failure);
  if (!file.olderBackupAside.empty()) {
    reason += texts::OlderBackupStaysAs(platform::PathToUtf8(file.olderBackupAside.filename()));
  }
  return reason;
}

struct FailureCounts {
  int failed = 0, warned = 0, skipped = 0;
  bool worthShowing = false;  // more than files skipped for their extension
};

// The failure list: the files that failed, those converted with a warning
// (named by the converted file, the warning naming the file it kept) and
// the files skipped, each with its kind.
std::vector<unit1::FailureLine> FailureLines(const unit_val::BatchReport& report,
                                             FailureCounts& counts) {
  std::vector<unit1::FailureLine> lines;
  for (const unit_val::FileResult& file : report.files) {
    switch (file.status) {
      case unit_val::FileStatus::kFailed:
        ++counts.failed;
        lines.push_back({platform::PathToUtf8(file.source),
                         std::string(texts::StageText(file.stage)), FailedReason(file),
                         unit1::FailureKind::kFailed});
        break;
      case unit_val::FileStatus::kConverted:
        if (!file.failure) break;
        ++counts.warned;
        lines.push_back({platform::PathToUtf8(file.destination), "",
                         file.olderBackupAside.empty()
                             ? texts::FailureText(file.failure)
                             : texts::OlderBackupKept(file.olderBackupAside),
                         unit1::FailureKind::kWarning});
        break;
      case unit_val::FileStatus::kSkipped:
        ++counts.skipped;
        if (file.failure.code != unit_val::Reason::kNotJwwFile) counts.worthShowing = true;
        lines.push_back({platform::PathToUtf8(file.source), "", texts::FailureText(file.failure),
                         unit1::FailureKind::kSkipped});
        break;
    }
  }
  for (const auto& warning : report.journalWarnings) {
    ++counts.warned;
    lines.push_back({platform::PathToUtf8(warning.folder), "",
                     std::string(texts::kUndoJournalNotWritten), unit1::FailureKind::kWarning});
  }
  counts.worthShowing = counts.worthShowing || counts.failed > 0 || counts.warned > 0;
  return lines;
}

}  // namespace

void TForm1::Button4Click() {
  Guarded([this] {
    if (busy_ || !RunGuardsPass()) return;
    std::vector<fs::path> names;
    std::size_t drawings = 0;
    for (std::size_t row : highlight()) {
      names.push_back(rows_[row].name);
      if (func::UpperExtension(rows_[row].nameText) == ".JWW") ++drawings;
    }
    ConfirmAndRun(texts::ConfirmRun(drawings, destinationFolder_),
                  unit_val::ChooseNamedFiles(platform::PathFromUtf8(listedFolder_), names,
                                             platform::PathFromUtf8(destinationFolder_)));
  });
}

void TForm1::ConfirmAndRun(const std::string& confirm, unit_val::Selection selection) {
  const unit1::BoxAnswer answer =
      view_.ShowBox(unit1::BoxIcon::kQuestion, confirm, unit1::BoxButtons::kYesNo);
  if (answer != unit1::BoxAnswer::kYes) {
    view_.SetStatusText(std::string(texts::kRunCancelled));
    return;
  }
  RunBusy([&] { RunSelection(std::move(selection)); });
}

void TForm1::RunBusy(const std::function<void()>& work) {
  {
    const Flagged busy(busy_);
    const Flagged running(running_);
    try {
      work();
    } catch (...) {
      view_.HideProgress();
      ShowUndoState();
      throw;
    }
  }
  // A run left its journal in the folder, an undo took it away (or, refused,
  // the one there stays).
  ShowUndoState();
}

void TForm1::RunSelection(unit_val::Selection selection) {
  unit_val::BatchRequest request;
  request.destinationFolder = platform::PathFromUtf8(destinationFolder_);
  request.selection = std::move(selection);
  if (std::error_code ec; fs::exists(settingsFile_, ec)) request.alsoRead.push_back(settingsFile_);

  stop_.Clear();
  unit1::WindowObserver observer(view_, stop_);
  const unit_val::BatchReport report =
      unit_val::RunBatch(request, context_.settings, stop_, observer);
  observer.ShowLast();
  view_.HideProgress();
  if (report.refused()) {
    ErrorBox(std::string(texts::kRunRefused) + "\n" + texts::FailureText(report.refusal));
    view_.SetStatusText(std::string(texts::kRunCancelled));
    return;
  }
  const unit_val::BatchTotals& totals = report.totals;
  view_.SetStatusText(texts::RunFinished(
      {totals.converted, totals.retyped.TotalRetyped(), totals.failed, totals.skipped},
      report.stoppedBy != 0));
  // Files skipped only for their extension are no news: the completion text
  // counts them, and the list shows them beside anything else.
  FailureCounts counts;
  const std::vector<unit1::FailureLine> lines = FailureLines(report, counts);
  if (counts.worthShowing) {
    view_.ShowFailures(texts::FailureSummary(counts.failed, counts.warned, counts.skipped), lines);
  }
}
