// The batch conversion run and the choice of its destination folder.
#include <QCoreApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableWidget>
#include <QTreeWidget>

#include "app/qt_text.h"
#include "app/unit1.h"
#include "conversion/batch_plan.h"
#include "conversion/convert_file.h"
#include "conversion/destination_guard.h"
#include "conversion/source_check.h"
#include "conversion/stale_temporaries.h"

namespace {

struct FailedFile {
  QString source;
  QString stage;
  QString reason;
};

QString StageText(unit_val::ConvertStage stage) {
  switch (stage) {
    case unit_val::ConvertStage::kLoad:
      return QStringLiteral("読み込み");
    case unit_val::ConvertStage::kBackup:
      return QStringLiteral("バックアップ");
    case unit_val::ConvertStage::kSave:
      return QStringLiteral("保存");
    case unit_val::ConvertStage::kPlan:
      return QStringLiteral("事前確認");
    case unit_val::ConvertStage::kNone:
      break;
  }
  return QString();
}

}  // namespace

struct TForm1::RunTotals {
  int converted = 0;
  int skipped = 0;
  std::vector<FailedFile> failed;
  std::vector<FailedFile> warnings;  // converted, with something left behind
};

void TForm1::Button3Click() {
  if (busy_) return;
  const std::optional<QString> chosen = context_.dialogs.ChooseFolder(
      this, QStringLiteral("保存先フォルダの指定"), destinationFolder_);
  if (!chosen) return;
  destinationFolder_ = unit1::FolderText(*chosen);
  Edit2->setText(destinationFolder_);
}

bool TForm1::RunGuardsPass() {
  if (!SearchFolderChosen()) return false;
  if (!listReady_) {
    ErrorBox(QStringLiteral("ファイル一覧が表示されていません。"));
    return false;
  }
  auto refuse = [this](const QString& text) {
    context_.dialogs.Beep();
    context_.dialogs.ShowBox(this, unit1::BoxIcon::kQuestion, text, unit1::BoxButtons::kOk);
    return false;
  };
  if (Edit2->text().isEmpty()) return refuse(QStringLiteral("保存先フォルダを指定して下さい。"));
  const QString source = NodePath(TreeView1->currentItem());
  // The same folder however it is written: letter case, links, "..".
  if (unit_val::SameFolder(unit1::ToPath(destinationFolder_), unit1::ToPath(source))) {
    return refuse(QStringLiteral("保存先フォルダとファイルのフォルダが同じになっています。"));
  }
  return true;
}

void TForm1::Button4Click() {
  if (busy_ || !RunGuardsPass()) return;
  const unit1::BoxAnswer answer = context_.dialogs.ShowBox(
      this, unit1::BoxIcon::kQuestion, QStringLiteral("変換を開始します。よろしいですか？"),
      unit1::BoxButtons::kYesNo);
  if (answer != unit1::BoxAnswer::kYes) {
    SetStatus(QStringLiteral("変換作業をキャンセルしました。"));
    return;
  }
  busy_ = true;
  ConvertSelectedRows();
  busy_ = false;
}

void TForm1::ConvertSelectedRows() {
  const QString sourceFolder = NodePath(TreeView1->currentItem());
  int top = StringGrid1->currentRow();
  int bottom = top;
  if (const QList<QTableWidgetSelectionRange> ranges = StringGrid1->selectedRanges();
      !ranges.isEmpty()) {
    top = ranges.front().topRow();
    bottom = ranges.front().bottomRow();
  }
  RunTotals totals;
  std::vector<unit_val::ChosenFile> chosen;
  for (int row = std::max(0, top); row <= bottom; ++row) {
    const QTableWidgetItem* cell = StringGrid1->item(row, 0);
    const QString name = cell ? cell->text() : QString();
    const std::filesystem::path source = unit1::ToPath(sourceFolder + name);
    if (name.isEmpty() || !unit_val::HasJwwExtension(source)) {
      ++totals.skipped;
      continue;
    }
    const unit_val::SourceCheck check = unit_val::CheckSource(source);
    if (check.kind == unit_val::SourceKind::kNotDrawing) {
      ++totals.skipped;
    } else if (check.kind == unit_val::SourceKind::kUnreadable) {
      totals.failed.push_back({sourceFolder + name, StageText(unit_val::ConvertStage::kLoad),
                               unit1::FromUtf8(check.reason)});
    } else {
      chosen.push_back({source, unit1::ToPath(destinationFolder_ + name)});
    }
  }

  std::vector<std::filesystem::path> alsoRead;
  if (std::error_code ec; std::filesystem::exists(settingsFile_, ec))
    alsoRead.push_back(settingsFile_);
  const unit_val::BatchPlan plan = unit_val::PlanBatch(chosen, alsoRead);
  if (!plan.ok()) {
    ErrorBox(unit1::FromUtf8(plan.refusal));
    SetStatus(QStringLiteral("変換作業をキャンセルしました。"));
    return;
  }

  // What killed runs left in the destination folder goes first.
  if (std::error_code ec; std::filesystem::is_directory(unit1::ToPath(destinationFolder_), ec)) {
    unit_val::RemoveStaleTemporaries(unit1::ToPath(destinationFolder_));
  }
  progress_->setRange(0, static_cast<int>(plan.files.size()));
  progress_->setValue(0);
  progress_->setVisible(!plan.files.empty());
  unit_val::ConvertContext convert{
      context_.drawing, tempFolder_.get(),
      [this](const std::string& text) { SetStatus(unit1::FromUtf8(text)); }};
  for (const unit_val::PlannedFile& file : plan.files) {
    if (!file.conflict.empty()) {
      totals.failed.push_back({unit1::FromPath(file.source),
                               StageText(unit_val::ConvertStage::kPlan),
                               unit1::FromUtf8(file.conflict)});
    } else {
      const unit_val::ConvertOutcome outcome =
          unit_val::ConvertFile(file.source, file.destination, context_.settings, convert);
      if (outcome.converted()) {
        ++totals.converted;
        if (!outcome.warning.empty()) {
          totals.warnings.push_back(
              {unit1::FromPath(file.source), QString(), unit1::FromUtf8(outcome.warning)});
        }
      } else {
        totals.failed.push_back({unit1::FromPath(file.source), StageText(outcome.failedStage),
                                 unit1::FromUtf8(outcome.reason)});
      }
    }
    progress_->setValue(progress_->value() + 1);
    // The window repaints between files; what the user does meanwhile waits.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
  progress_->hide();
  SetStatus(QStringLiteral("変換作業を完了しました。（変換 %1 件、失敗 %2 件、対象外 %3 件）")
                .arg(totals.converted)
                .arg(totals.failed.size())
                .arg(totals.skipped));
  ReportFailures(totals);
}

void TForm1::ReportFailures(const RunTotals& totals) {
  if (totals.failed.empty() && totals.warnings.empty()) return;
  QString text;
  if (!totals.failed.empty()) {
    text =
        QStringLiteral("変換できなかったファイルがあります（%1 件）。\n").arg(totals.failed.size());
  }
  for (const FailedFile& file : totals.failed) {
    text += QStringLiteral("\n%1\n    %2: %3").arg(file.source, file.stage, file.reason);
  }
  if (!totals.warnings.empty()) {
    text +=
        QStringLiteral("%1変換しましたが、注意があります。\n").arg(text.isEmpty() ? "" : "\n\n");
  }
  for (const FailedFile& file : totals.warnings) {
    text += QStringLiteral("\n%1\n    %2").arg(file.source, file.reason);
  }
  context_.dialogs.ShowBox(this, unit1::BoxIcon::kInformation, text, unit1::BoxButtons::kOk);
}
