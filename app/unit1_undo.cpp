// "変換を元に戻す": the last run into the destination folder taken back,
// through the same undo as the command line's, with a run's progress, stop,
// status text and failure list.
#include "app/message_texts.h"
#include "app/undo_observer.h"
#include "app/unit1.h"
#include "conversion/undo_journal.h"
#include "conversion/undo_run.h"
#include "platform/path_text.h"

namespace fs = std::filesystem;

namespace {

// The files the undo left alone, each named with why; and a journal that
// stays although every file is back.
std::vector<unit1::FailureLine> UndoFailureLines(const unit_val::UndoReport& report,
                                                 const fs::path& folder) {
  std::vector<unit1::FailureLine> lines;
  for (const unit_val::UndoFileResult& file : report.files) {
    if (file.status != unit_val::UndoStatus::kLeftAlone) continue;
    lines.push_back({platform::PathToUtf8(file.file), std::string(texts::kUndoStage),
                     texts::FailureText(file.failure), unit1::FailureKind::kFailed});
  }
  if (!report.journalWarning.empty()) {
    lines.push_back({platform::PathToUtf8(folder / unit_val::kUndoJournalName),
                     std::string(texts::kUndoStage), std::string(texts::kUndoJournalNotRemoved),
                     unit1::FailureKind::kWarning});
  }
  return lines;
}

}  // namespace

void TForm1::ShowUndoState() {
  bool journal = false;
  if (!destinationFolder_.empty()) {
    std::error_code ec;
    journal = fs::is_regular_file(
        platform::PathFromUtf8(destinationFolder_) / unit_val::kUndoJournalName, ec);
  }
  view_.EnableUndo(journal);
}

void TForm1::MnuFileUndoClick() {
  Guarded([this] {
    if (busy_) return;
    if (destinationFolder_.empty()) {
      view_.Beep();
      view_.ShowBox(unit1::BoxIcon::kQuestion, std::string(texts::kChooseDestination),
                    unit1::BoxButtons::kOk);
      return;
    }
    const fs::path folder = platform::PathFromUtf8(destinationFolder_);
    const unit_val::JournalRead journal = unit_val::ReadUndoJournal(folder);
    if (!journal.found) {
      const std::string text(texts::ReasonText(unit_val::Reason::kNoUndoJournal));
      view_.ShowBox(unit1::BoxIcon::kInformation, text, unit1::BoxButtons::kOk);
      view_.SetStatusText(text);
      ShowUndoState();
      return;
    }
    if (!journal.error.empty()) {
      ErrorBox(std::string(texts::kUndoRefused) + "\n" +
               texts::FailureText({unit_val::Reason::kUndoJournalUnreadable, journal.systemError}));
      view_.SetStatusText(std::string(texts::kUndoCancelled));
      return;
    }
    const unit1::BoxAnswer answer = view_.ShowBox(
        unit1::BoxIcon::kQuestion, texts::ConfirmUndo(journal.entries.size(), destinationFolder_),
        unit1::BoxButtons::kYesNo);
    if (answer != unit1::BoxAnswer::kYes) {
      view_.SetStatusText(std::string(texts::kUndoCancelled));
      return;
    }
    RunBusy([&] { UndoInto(folder, journal.entries.size()); });
  });
}

void TForm1::UndoInto(const fs::path& folder, std::size_t files) {
  stop_.Clear();
  unit1::UndoWindowObserver observer(view_, stop_, files);
  const unit_val::UndoReport report = unit_val::UndoLastRun(folder, stop_, &observer);
  observer.ShowLast();
  view_.HideProgress();
  if (report.refused()) {
    ErrorBox(std::string(texts::kUndoRefused) + "\n" + texts::FailureText(report.refusal));
    view_.SetStatusText(std::string(texts::kUndoCancelled));
    return;
  }
  view_.SetStatusText(texts::UndoFinished(report.restored, report.removed, report.leftAlone,
                                          report.stoppedBy != 0));
  const std::vector<unit1::FailureLine> lines = UndoFailureLines(report, folder);
  if (!lines.empty()) view_.ShowFailures(texts::UndoFailureSummary(report.leftAlone), lines);
}
