#include "app/unit1.h"

#include "app/generic_error.h"
#include "app/message_texts.h"

TForm1::TForm1(WindowContext context, unit1::MainView& view)
    : context_(std::move(context)), view_(view), memoLookup_(context_.drawing) {
  rows_.resize(4);  // before the first listing: four empty rows
}

void TForm1::Guarded(const std::function<void()>& command) {
  ++commandDepth_;
  unit1::RunGuarded(
      [this](const std::string& message) {
        view_.ShowBox(unit1::BoxIcon::kError, message, unit1::BoxButtons::kOk);
      },
      command);
  --commandDepth_;
  // A close asked for while work went on closes the window once it is done.
  if (commandDepth_ == 0 && closeRequested_ && !busy_) {
    closeRequested_ = false;
    view_.CloseWindow();
  }
}

void TForm1::ErrorBox(std::string_view text) {
  view_.Beep();
  view_.ShowBox(unit1::BoxIcon::kError, std::string(text), unit1::BoxButtons::kOk);
}

bool TForm1::SearchFolderChosen() {
  if (treeReady_) return true;
  ErrorBox(texts::kChooseSearchFolder);
  view_.SetStatusText(std::string(texts::kChooseSearchFolder));
  return false;
}

bool TForm1::FormCloseQuery() {
  if (!busy_) return true;
  if (closeRequested_) return false;  // already stopping to close
  if (running_) {
    const unit1::BoxAnswer answer =
        view_.ShowBox(unit1::BoxIcon::kWarning, std::string(texts::kConfirmCloseDuringRun),
                      unit1::BoxButtons::kYesNo);
    if (answer != unit1::BoxAnswer::kYes || !running_) return !busy_;
    stop_.Request(unit_val::kStopCommand);
  }
  closeRequested_ = true;
  return false;
}

void TForm1::MnuFileExitClick() {
  Guarded([this] {
    if (busy_) return;
    const unit1::BoxAnswer answer = view_.ShowBox(
        unit1::BoxIcon::kQuestion, std::string(texts::kConfirmExit), unit1::BoxButtons::kYesNo);
    if (answer == unit1::BoxAnswer::kYes) view_.CloseWindow();
  });
}

void TForm1::MnuSetConvClick() {
  Guarded([this] {
    if (busy_) return;
    const unit_val::ConversionSettings before = context_.settings;
    view_.ShowSettingsDialog();
    // Closed with OK and something changed: the column and the preview
    // under the new settings.
    if (context_.settings == before) return;
    StartRetypeCounts();
    view_.RefreshRows();
    if (!previewed_.empty()) PreviewFile(previewed_, true);
  });
}

void TForm1::TreeSelectionChanged(std::optional<int> node) {
  if (node && (*node < 0 || *node >= static_cast<int>(tree_.nodes().size()))) node.reset();
  selectedNode_ = node;
}

void TForm1::ListHighlightChanged(const unit1::RowSet& highlight) {
  std::set<std::filesystem::path> before = std::move(highlighted_);
  highlighted_.clear();
  for (std::size_t row : highlight) {
    if (row < rows_.size() && !rows_[row].name.empty()) highlighted_.insert(rows_[row].name);
  }
  FollowHighlight(before);
}

unit1::RowSet TForm1::highlight() const {
  unit1::RowSet rows;
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (!rows_[row].name.empty() && highlighted_.count(rows_[row].name)) rows.push_back(row);
  }
  return rows;
}

void TForm1::StopCommand() {
  if (running_) stop_.Request(unit_val::kStopCommand);
}
