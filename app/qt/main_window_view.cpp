// What the main window shows for TForm1: the MainView of the Qt window.
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrl>

#include "app/message_texts.h"
#include "app/qt/elided_text.h"
#include "app/qt/failure_dialog.h"
#include "app/qt/folder_icon.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_text.h"
#include "app/qt/settings_dialog.h"
#include "platform/keyboard.h"
#include "platform/shell_open.h"

namespace unit1 {

namespace {

QTableWidgetItem* Cell(const std::string& text, Qt::Alignment alignment) {
  auto* item = new QTableWidgetItem(FromUtf8(text));
  item->setTextAlignment(alignment | Qt::AlignVCenter);
  return item;
}

// Outer position and size, frame included.
WindowGeometry OuterGeometry(const QWidget* window) {
  const QRect frame = window->frameGeometry();
  return {frame.x(), frame.y(), frame.width(), frame.height()};
}

void SetOuterGeometry(QWidget* window, const WindowGeometry& g) {
  const QSize frame = window->frameGeometry().size() - window->size();
  window->move(g.x, g.y);
  window->resize(g.width - frame.width(), g.height - frame.height());
}

}  // namespace

QString MainWindow::statusText() const {
  return statusLabel_->fullText();
}

void MainWindow::ShowSearchFolder(const std::string& text) {
  Edit1->SetFullText(FromUtf8(text));
}

void MainWindow::ShowDestinationFolder(const std::string& text) {
  Edit2->SetFullText(FromUtf8(text));
}

void MainWindow::ShowFileType(int index) {
  ComboBox1->setCurrentIndex(index);
}

void MainWindow::ShowHeaders(const std::vector<std::string>& headers) {
  QStringList labels;
  for (const std::string& header : headers) labels << FromUtf8(header);
  StringGrid1->setHorizontalHeaderLabels(labels);
}

void MainWindow::ShowTree(const FolderTree& tree) {
  showing_ = true;
  TreeView1->clear();
  if (!tree.empty()) {
    auto* root = new QTreeWidgetItem(TreeView1, {FromUtf8(tree.nodes()[0].text)});
    AddTreeItems(tree, 0, root);
    root->setExpanded(true);
  }
  TreeView1->setCurrentItem(nullptr);
  showing_ = false;
}

void MainWindow::AddTreeItems(const FolderTree& tree, int node, QTreeWidgetItem* item) {
  item->setIcon(0, YellowFolder());
  item->setData(0, Qt::UserRole, node);
  for (int child : tree.nodes()[static_cast<std::size_t>(node)].children) {
    AddTreeItems(
        tree, child,
        new QTreeWidgetItem(item, {FromUtf8(tree.nodes()[static_cast<std::size_t>(child)].text)}));
  }
}

void MainWindow::SelectTreeNode(int node) {
  showing_ = true;
  for (QTreeWidgetItemIterator it(TreeView1); *it; ++it) {
    if ((*it)->data(0, Qt::UserRole).toInt() == node) {
      TreeView1->setCurrentItem(*it);
      TreeView1->scrollToItem(*it);
      break;
    }
  }
  showing_ = false;
}

void MainWindow::EnableTree(bool enabled) {
  TreeView1->setEnabled(enabled);
}

void MainWindow::ShowRows(const std::vector<FileRow>& rows, const RowSet& highlight) {
  showing_ = true;
  rows_ = &rows;
  StringGrid1->setUpdatesEnabled(false);
  StringGrid1->clearSelection();
  StringGrid1->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    for (int c = 0; c < kColumnCount; ++c) {
      StringGrid1->setItem(
          r, c,
          Cell(rows[static_cast<std::size_t>(r)].Cell(c), c == 1 ? Qt::AlignRight : Qt::AlignLeft));
    }
  }
  if (highlight.empty()) {
    StringGrid1->setCurrentIndex(QModelIndex());
  } else {
    StringGrid1->setCurrentCell(static_cast<int>(highlight.front()), 0,
                                QItemSelectionModel::NoUpdate);
    for (std::size_t row : highlight) {
      const int r = static_cast<int>(row);
      StringGrid1->setRangeSelected(QTableWidgetSelectionRange(r, 0, r, kColumnCount - 1), true);
    }
  }
  StringGrid1->setUpdatesEnabled(true);
  showing_ = false;
}

void MainWindow::RefreshRows() {
  if (!rows_) return;
  for (int r = 0; r < StringGrid1->rowCount() && r < static_cast<int>(rows_->size()); ++r) {
    if (QTableWidgetItem* cell = StringGrid1->item(r, 1)) {
      cell->setText(FromUtf8((*rows_)[static_cast<std::size_t>(r)].sizeText));
    }
  }
}

void MainWindow::SetStatusText(const std::string& text) {
  statusLabel_->SetFullText(FromUtf8(text));
  statusLabel_->repaint();
}

void MainWindow::ShowProgress(std::size_t done, std::size_t total) {
  progress_->setRange(0, static_cast<int>(total));
  progress_->setValue(static_cast<int>(done));
  progress_->show();
  stopButton_->show();
}

void MainWindow::HideProgress() {
  progress_->hide();
  stopButton_->hide();
}

void MainWindow::Beep() {
  QApplication::beep();
}

BoxAnswer MainWindow::ShowBox(BoxIcon icon, const std::string& text, BoxButtons buttons) {
  const QMessageBox::Icon shown = icon == BoxIcon::kError         ? QMessageBox::Critical
                                  : icon == BoxIcon::kInformation ? QMessageBox::Information
                                  : icon == BoxIcon::kWarning     ? QMessageBox::Warning
                                                                  : QMessageBox::Question;
  QMessageBox box(shown, FromUtf8(texts::kApplicationTitle), FromUtf8(text), QMessageBox::NoButton,
                  this);
  if (buttons == BoxButtons::kYesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  const int answer = box.exec();
  if (buttons == BoxButtons::kOk) return BoxAnswer::kOk;
  return answer == QMessageBox::Yes ? BoxAnswer::kYes : BoxAnswer::kNo;
}

void MainWindow::ShowFailures(const std::string& summary, const std::vector<FailureLine>& lines) {
  FailureDialog dialog(summary, lines, this);
  dialog.exec();
}

std::optional<std::filesystem::path> MainWindow::ChooseFolder(const std::string& title,
                                                              const std::filesystem::path& start) {
  QFileDialog dialog(this, FromUtf8(title), FromPath(start));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setOption(QFileDialog::ReadOnly, false);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return ToPath(dialog.selectedFiles().front());
}

void MainWindow::OpenWithAssociatedProgram(const std::filesystem::path& file) {
  if (platform::OpenWithAssociatedProgram(file)) return;
  QDesktopServices::openUrl(QUrl::fromLocalFile(FromPath(file)));
}

void MainWindow::ShowSettingsDialog() {
  if (settingsDialog_) settingsDialog_->exec();
}

void MainWindow::CloseWindow() {
  close();
}

void MainWindow::ProcessPendingEvents() {
  QCoreApplication::processEvents();
}

bool MainWindow::EscapePressed() {
  return platform::EscapePressed();
}

WindowGeometry MainWindow::Geometry(WindowId window) {
  if (window == WindowId::kMain) return OuterGeometry(this);
  return settingsDialog_ ? OuterGeometry(settingsDialog_) : WindowGeometry{};
}

void MainWindow::SetGeometry(WindowId window, const WindowGeometry& geometry) {
  if (window == WindowId::kMain) {
    SetOuterGeometry(this, geometry);
  } else if (settingsDialog_) {
    SetOuterGeometry(settingsDialog_, geometry);
  }
}

int MainWindow::PaneWidth() {
  return Panel1->width();
}

void MainWindow::SetPaneWidth(int width) {
  const QList<int> sizes = Splitter1->sizes();
  const int total = sizes.value(0) + sizes.value(1);
  Splitter1->setSizes({width, std::max(0, total - width)});
}

int MainWindow::ColumnWidth(int column) {
  return StringGrid1->columnWidth(column);
}

void MainWindow::SetColumnWidth(int column, int width) {
  StringGrid1->setColumnWidth(column, width);
}

int MainWindow::HeaderRowHeight() {
  return StringGrid1->horizontalHeader()->height();
}

int MainWindow::DigitWidth() {
  return QFontMetrics(StringGrid1->font()).horizontalAdvance(QLatin1Char('0'));
}

}  // namespace unit1
